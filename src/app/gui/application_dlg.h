// The main window: borderless and skinned, with the information, minimise and close buttons, the
// page menu, the page container, the information menu and the tray icon.
#pragma once

#include <optional>

#include <QEventLoop>

#include "app/gui/child_dlg.h"
#include "ui/t_dialog.h"

class CMenuDlg;
class CPictureButton;
class QMenu;
class QSystemTrayIcon;

class CApplicationDlg : public CTDialog
{
    Q_OBJECT

public:
    // The factory makes the pages (the program's own without one).
    explicit CApplicationDlg(PageFactory factory = {}, QWidget* parent = nullptr);
    ~CApplicationDlg() override;

    // Shows the window and returns its result when it closes. Unlike exec(), hiding the window in
    // the tray does not end the run.
    int RunModal();
    void done(int result) override;

    CMenuDlg* MenuDlg() const { return m_menu; }
    CChildDlg* ChildDlg() const { return m_child; }
    QMenu* InfoMenu() const { return m_infoMenu; }
    QMenu* TrayMenu() const { return m_trayMenu; }
    QMenu* SystemMenu() const { return m_systemMenu; }

    // Test hook: overrides whether the desktop offers a tray (none: what the desktop says).
    static void SetTrayAvailableForTest(std::optional<bool> available);

protected:
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateButtons();
    void CreateInfoMenu();
    void CreateSystemMenu();
    void CreateTray();
    bool TrayAvailable() const;
    void OnMinimise();
    void OnInfo();
    void ShowUtility();
    void ShowAbout();
    void ShowLinkFailureOnce();

    CMenuDlg* m_menu = nullptr;
    CChildDlg* m_child = nullptr;
    CPictureButton* m_infoButton = nullptr;
    CPictureButton* m_minButton = nullptr;
    CPictureButton* m_closeButton = nullptr;
    QMenu* m_infoMenu = nullptr;
    QMenu* m_trayMenu = nullptr;
    QMenu* m_systemMenu = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    QEventLoop* m_runLoop = nullptr;
    bool m_placed = false;
    bool m_linkFailureShown = false;
};
