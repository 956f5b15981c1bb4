#include "app/gui/application_dlg.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

#include "app/application_app.h"
#include "app/gui/about_dlg.h"
#include "app/gui/menu_dlg.h"
#include "pages/page_dlg.h"
#include "ui/format_text.h"
#include "ui/message_box.h"
#include "ui/picture_button.h"
#include "ui/skin_look.h"
#include "ui/text_bridge.h"
#include "ui/translate_window.h"
#include "ui/url_opener.h"

namespace
{

std::optional<bool> g_trayAvailableForTest;

// Where the menu and the page container sit, in the pixels of the layout's screen.
constexpr int kMenuTop = 158;
constexpr int kChildTop = 86;

struct InfoItem
{
    const char* objectName;
    const char* key;
    const char* urlKey;
    const char* picture;
};

constexpr InfoItem kInfoItems[] = {
    {"infoProduct", "Product", "Product_url", "help_product_normal.bmp"},
    {"infoSupport", "Support", "Support_url", "help_support_normal.bmp"},
    {"infoContact", "Contact Us", "Contact_url", "help_contact_normal.bmp"},
    {"infoHelp", "Help", "Help_url", "help_help_normal.bmp"},
};

QIcon ProgramIcon()
{
    return QIcon(QString::fromStdString(CApplicationApp::Instance().SkinPath("Application.ico")));
}

} // namespace

CApplicationDlg::CApplicationDlg(PageFactory factory, QWidget* parent) : CTDialog(parent, Kind::Window)
{
    setObjectName("applicationDlg");
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint);
    setWindowTitle("CPEManagement");
    setFixedSize(FromDialogUnits(704), FromDialogUnits(415));

    CreateSystemMenu();
    setWindowIcon(ProgramIcon());
    TranslateWindow(this);

    const CSettings& look = CApplicationApp::Instance().Settings();
    SetBackgroundColor(ToQColor(look.ChildBkColor));
    SetBackgroundPicture(SkinPicture("main_bk.jpg"));
    SetDragMove(true);
    SetBorder(true, ToQColor(look.LineColor).darker(150));

    CreateButtons();
    CreateInfoMenu();
    CreateTray();

    // Inside the one-pixel border, so that it stays visible all round.
    m_menu = new CMenuDlg(this);
    const int menuTop = FromLayoutPixels(kMenuTop);
    m_menu->setGeometry(1, menuTop, FromDialogUnits(91), std::min(FromDialogUnits(324), height() - 1 - menuTop));
    m_menu->show();

    m_child = new CChildDlg(this, std::move(factory));
    const int childTop = FromLayoutPixels(kChildTop);
    const int childLeft = m_menu->geometry().right() + 1;
    m_child->setGeometry(childLeft, childTop, std::min(FromDialogUnits(610), width() - 1 - childLeft),
                         std::min(FromDialogUnits(372), height() - 1 - childTop));
    m_child->SetMenuEnabler([this](bool enabled) { m_menu->EnableMenu(enabled); });
    connect(m_menu, &CMenuDlg::PageChosen, m_child, &CChildDlg::ChoosePage);
    m_child->show();
}

CApplicationDlg::~CApplicationDlg()
{
    if (m_tray != nullptr)
        m_tray->hide();
}

void CApplicationDlg::SetTrayAvailableForTest(std::optional<bool> available)
{
    g_trayAvailableForTest = available;
}

bool CApplicationDlg::TrayAvailable() const
{
    return g_trayAvailableForTest.value_or(QSystemTrayIcon::isSystemTrayAvailable());
}

void CApplicationDlg::CreateButtons()
{
    struct HeaderButton
    {
        CPictureButton** button;
        const char* objectName;
        const char* tipKey;
        const char* picture;
        const char* glyph; // shown only when the picture is missing
        int left;          // dialog units
    };
    const HeaderButton headerButtons[] = {
        {&m_infoButton, "infoButton", "Info", "help_normal.bmp", "i", 647},
        {&m_minButton, "minButton", "Min", "min_normal.bmp", "\u2013", 666},
        {&m_closeButton, "closeButton", "Close", "close_normal.bmp", "\u00d7", 684},
    };
    for (const HeaderButton& entry : headerButtons)
    {
        auto* button = new CPictureButton(this);
        button->setObjectName(entry.objectName);
        button->setToolTip(LookupQText(entry.tipKey));
        button->SetPictureFiles(entry.picture);
        if (button->NormalPicture().isNull())
            button->setText(QString::fromUtf8(entry.glyph));
        button->SetHoverTint(QColor(255, 255, 255, 45));
        button->setGeometry(FromDialogUnits(entry.left), FromDialogUnits(2), FromDialogUnits(17), FromDialogUnits(10));
        *entry.button = button;
    }
    connect(m_infoButton, &CPictureButton::clicked, this, &CApplicationDlg::OnInfo);
    connect(m_minButton, &CPictureButton::clicked, this, &CApplicationDlg::OnMinimise);
    connect(m_closeButton, &CPictureButton::clicked, this, [this] { done(QDialog::Accepted); });
}

void CApplicationDlg::CreateInfoMenu()
{
    m_infoMenu = new QMenu(this);
    m_infoMenu->setObjectName("infoMenu");
    for (const InfoItem& item : kInfoItems)
    {
        QAction* action = m_infoMenu->addAction(QIcon(SkinPicture(item.picture)), item.key);
        action->setObjectName(item.objectName);
        action->setIconVisibleInMenu(true);
        const char* urlKey = item.urlKey;
        // The address is the language text of the key, so each language carries its own links.
        connect(action, &QAction::triggered, this, [urlKey] { OpenUrl(LookupQText(urlKey)); });
    }
    TranslateMenu(m_infoMenu);
}

void CApplicationDlg::CreateSystemMenu()
{
    m_systemMenu = new QMenu(this);
    m_systemMenu->setObjectName("systemMenu");
    QAction* minimise = m_systemMenu->addAction("Minimize");
    minimise->setObjectName("systemMinimize");
    connect(minimise, &QAction::triggered, this, &CApplicationDlg::OnMinimise);
    QAction* close = m_systemMenu->addAction("Close");
    close->setObjectName("systemClose");
    connect(close, &QAction::triggered, this, &QWidget::close);
    TranslateMenu(m_systemMenu);
    // The about entry only when the language gives it a text.
    const QString about = LookupQText("About");
    if (!about.isEmpty())
    {
        m_systemMenu->addSeparator();
        QAction* entry = m_systemMenu->addAction(about);
        entry->setObjectName("systemAbout");
        connect(entry, &QAction::triggered, this, &CApplicationDlg::ShowAbout);
    }
}

void CApplicationDlg::CreateTray()
{
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName("trayMenu");
    QAction* show = m_trayMenu->addAction("Show Utility");
    show->setObjectName("trayShow");
    connect(show, &QAction::triggered, this, &CApplicationDlg::ShowUtility);
    QAction* exit = m_trayMenu->addAction("Exit");
    exit->setObjectName("trayExit");
    connect(exit, &QAction::triggered, this, [this] { done(QDialog::Accepted); });
    TranslateMenu(m_trayMenu);

    m_tray = new QSystemTrayIcon(ProgramIcon(), this);
    m_tray->setObjectName("trayIcon");
    m_tray->setToolTip(FormatText("%s", {LookupQText("CPEManagement")}));
    m_tray->setContextMenu(m_trayMenu);
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason)
            {
                if (reason == QSystemTrayIcon::DoubleClick)
                    ShowUtility();
            });
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_tray->show();
}

int CApplicationDlg::RunModal()
{
    setResult(0);
    show();
    QEventLoop loop;
    m_runLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    m_runLoop = nullptr;
    return result();
}

void CApplicationDlg::done(int result)
{
    // Boxes and dialogs still open run loops of their own inside the window's; they end as cancelled,
    // so that closing (or a stop signal) ends the run even while one of them shows.
    for (QDialog* dialog : findChildren<QDialog*>())
        if (dialog->isWindow() && dialog->isVisible())
            dialog->done(QDialog::Rejected);
    CTDialog::done(result);
    if (m_tray != nullptr)
        m_tray->hide();
    if (m_runLoop != nullptr)
        m_runLoop->exit(result);
}

void CApplicationDlg::OnMinimise()
{
    // Hidden, only the tray icon brings it back; without a tray that would lose the window.
    if (TrayAvailable())
    {
        if (!m_tray->isVisible() && QSystemTrayIcon::isSystemTrayAvailable())
            m_tray->show();
        hide();
    }
    else
        showMinimized();
}

void CApplicationDlg::OnInfo()
{
    raise();
    activateWindow();
    m_infoMenu->popup(QCursor::pos() + QPoint(-6, 30));
}

void CApplicationDlg::ShowUtility()
{
    showNormal();
    raise();
    activateWindow();
}

void CApplicationDlg::ShowAbout()
{
    CAboutDlg about(this);
    about.exec();
}

void CApplicationDlg::showEvent(QShowEvent* event)
{
    CTDialog::showEvent(event);
    if (!m_placed)
    {
        m_placed = true;
        // The window keeps the first focus itself, so that no button opens marked as focused.
        if (focusWidget() == nullptr)
            setFocus(Qt::OtherFocusReason);
        if (QScreen* shown = screen())
            move(shown->availableGeometry().center() - rect().center());
    }
    if (!m_linkFailureShown && CApplicationApp::Instance().LinkStartFailure())
        QTimer::singleShot(0, this, &CApplicationDlg::ShowLinkFailureOnce);
}

void CApplicationDlg::ShowLinkFailureOnce()
{
    const std::optional<std::string>& failure = CApplicationApp::Instance().LinkStartFailure();
    if (m_linkFailureShown || !failure)
        return;
    m_linkFailureShown = true;
    CMessageBox::Warning(
        this, FormatLookup("The device link could not start: %s", {LocalToQString(*failure)}) + "\n\n" +
                  LookupQText("No device can be found until this is solved and the program is started again."));
}

void CApplicationDlg::contextMenuEvent(QContextMenuEvent* event)
{
    // The header band stands in for a caption bar, so its right button opens the system menu.
    if (event->pos().y() < m_child->geometry().top())
        m_systemMenu->popup(event->globalPos());
}

void CApplicationDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::AltModifier)
    {
        m_systemMenu->popup(mapToGlobal(QPoint(4, 4)));
        return;
    }
    CTDialog::keyPressEvent(event);
}
