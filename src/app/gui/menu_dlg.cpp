#include "app/gui/menu_dlg.h"

#include <algorithm>

#include "app/application_app.h"
#include "pages/page_dlg.h"
#include "ui/picture_button.h"
#include "ui/skin_look.h"
#include "ui/static_text.h"
#include "ui/text_bridge.h"
#include "ui/translate_window.h"

namespace
{

struct MenuEntry
{
    int pageId;
    const char* key;
    int top; // dialog units
};

constexpr MenuEntry kMenuEntries[] = {
    {kPageStatus, "Device status", 0},     {kPageManagement, "Device management", 27},
    {kPageBridge, "Device bridge", 53},    {kPageReboot, "Device reboot", 80},
    {kPageUpgrade, "Device upgrade", 107}, {kPageRestore, "Device restore", 134},
    {kPageSystemTool, "System tool", 161}, {kPageInstallHelp, "Install Help", 188},
};

} // namespace

CMenuDlg::CMenuDlg(QWidget* parent) : CTDialog(parent, Kind::Child)
{
    setObjectName("menuDlg");
    TranslateWindow(this);
    SetBackgroundColor(ToQColor(CApplicationApp::Instance().Settings().ChildBkColor));
    SetBackgroundPicture(SkinPicture("main_left_bk.jpg"));

    for (const MenuEntry& entry : kMenuEntries)
    {
        auto* button = new CPictureButton(this, CPictureButton::Role::MenuButton);
        button->setObjectName(QString("menuButton%1").arg(entry.pageId));
        button->setText(LookupQText(entry.key));
        if (entry.pageId == kPageStatus)
            button->SetPictureFiles("bt_menu_search_normal.bmp", "bt_menu_search_down.bmp");
        else
            button->SetPictureFiles("bt_menu_wireless_normal.bmp", "bt_menu_wireless_down.bmp");
        button->setGeometry(0, FromDialogUnits(entry.top), FromDialogUnits(90), FromDialogUnits(28));
        const int pageId = entry.pageId;
        connect(button, &CPictureButton::clicked, this, [this, pageId] { SelectPage(pageId); });
        m_buttons[entry.pageId] = button;
    }
    m_buttons[kPageStatus]->SetSelected(true);

    m_versionLabel = new CStaticText(QString(), this);
    m_versionLabel->setObjectName("versionLabel");
    m_versionLabel->setProperty(kNoTranslateProperty, true);
    // Start-up has already formed the text as "V%s" of the file version.
    m_versionLabel->setText(LocalToQString(CApplicationApp::Instance().Settings().VersionText));
    m_versionLabel->setAlignment(Qt::AlignCenter);
    const int labelHeight = std::max(FromDialogUnits(9), m_versionLabel->fontMetrics().height() + 2);
    m_versionLabel->setGeometry((FromDialogUnits(91) - FromDialogUnits(77)) / 2, FromDialogUnits(306),
                                FromDialogUnits(77), labelHeight);
}

void CMenuDlg::SelectPage(int pageId)
{
    const auto chosen = m_buttons.find(pageId);
    if (chosen == m_buttons.end())
        return;
    for (auto& [id, button] : m_buttons)
        button->SetSelected(false);
    chosen->second->SetSelected(true);
    emit PageChosen(pageId);
}

void CMenuDlg::EnableMenu(bool enabled)
{
    for (auto& [id, button] : m_buttons)
        button->setEnabled(enabled);
}

CPictureButton* CMenuDlg::Button(int pageId) const
{
    const auto found = m_buttons.find(pageId);
    return found == m_buttons.end() ? nullptr : found->second;
}

int CMenuDlg::SelectedPage() const
{
    for (const auto& [id, button] : m_buttons)
        if (button->IsSelected())
            return id;
    return 0;
}
