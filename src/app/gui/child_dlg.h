// The page container: owns the eight pages, shows the current one, and has it refreshed 100 ms
// after it is chosen and every 30 seconds while the auto-refresh flag is set.
#pragma once

#include <functional>
#include <map>

#include "pages/page_host.h"
#include "ui/t_dialog.h"

class CPageDlg;
class CPageTimer;

// Makes the page with the identifier as a child of parent.
using PageFactory = std::function<CPageDlg*(int pageId, QWidget* parent)>;

class CChildDlg : public CTDialog, public CPageHost
{
    Q_OBJECT

public:
    // Without a factory the program's own pages are made (CreateProgramPage).
    explicit CChildDlg(QWidget* parent, PageFactory factory = {});
    ~CChildDlg() override;

    static CPageDlg* CreateProgramPage(int pageId, QWidget* parent);

    // Steps of a page choice after the menu has marked its button: show the page, then refresh it 100 ms later.
    void ChoosePage(int pageId);
    CPageDlg* Page(int pageId) const;

    int CurrentPage() const override { return m_currentPage; }
    bool AutoRefresh() const override { return m_autoRefresh; }
    void SetAutoRefresh(bool on) override { m_autoRefresh = on; }
    void EnableMenu(bool enabled) override;
    QObject* HostObject() override { return this; }

    // Called by EnableMenu; the main window connects it to the page menu.
    void SetMenuEnabler(std::function<void(bool)> enabler) { m_menuEnabler = std::move(enabler); }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnTimer(int id);
    void RefreshCurrent();

    std::map<int, CPageDlg*> m_pages;
    int m_currentPage;
    bool m_autoRefresh = true;
    CPageTimer* m_delayedRefresh = nullptr;
    CPageTimer* m_cycleRefresh = nullptr;
    std::function<void(bool)> m_menuEnabler;
};
