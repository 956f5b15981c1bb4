// A page whose own screen is not built yet: it holds its place in the navigation under its
// identifier, shows its title, and refreshes nothing.
#pragma once

#include "pages/page_dlg.h"

class CPlaceholderPageDlg : public CPageDlg
{
    Q_OBJECT

public:
    // titleKey is the language key of the page's menu label.
    CPlaceholderPageDlg(int pageId, const QString& titleKey, QWidget* parent);

    // The list pages this stands in for all have a refresh operation.
    bool HasRefresh() const override { return true; }
};
