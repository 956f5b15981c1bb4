// The page menu down the main window's left side: one picture button per page and the version.
#pragma once

#include <map>

#include "ui/t_dialog.h"

class CPictureButton;
class CStaticText;

class CMenuDlg : public CTDialog
{
    Q_OBJECT

public:
    explicit CMenuDlg(QWidget* parent);

    // Exactly what a click on the page's button does.
    void SelectPage(int pageId);
    void EnableMenu(bool enabled);
    CPictureButton* Button(int pageId) const;
    int SelectedPage() const;

signals:
    void PageChosen(int pageId);

private:
    std::map<int, CPictureButton*> m_buttons;
    CStaticText* m_versionLabel = nullptr;
};
