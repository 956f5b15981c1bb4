// What the page container needs of a page: its identifier, its refresh operation (if it has one)
// and its go-to-page operation for the pager's page-chosen notification.
#pragma once

#include "ui/t_dialog.h"

// Page identifiers, in the menu's order.
constexpr int kPageStatus = 133;
constexpr int kPageManagement = 134;
constexpr int kPageBridge = 135;
constexpr int kPageReboot = 136;
constexpr int kPageUpgrade = 137;
constexpr int kPageRestore = 138;
constexpr int kPageSystemTool = 155;
constexpr int kPageInstallHelp = 139;

class CPageDlg : public CTDialog
{
    Q_OBJECT

public:
    // A child of the page container at its origin, filled with ChildBkColor; hidden until chosen.
    CPageDlg(int pageId, QWidget* parent);

    int PageId() const { return m_pageId; }

    // Pages without a refresh operation (system tool, install help) keep these defaults.
    virtual bool HasRefresh() const { return false; }
    virtual void Refresh() {}
    // The pager of the page chose page number pageNumber.
    virtual void GoToPage(int /*pageNumber*/) {}

private:
    int m_pageId;
};
