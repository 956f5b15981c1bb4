#include "app/gui/child_dlg.h"

#include <utility>

#include "app/application_app.h"
#include "pages/device_link.h"
#include "pages/install_help_dlg.h"
#include "pages/page_dlg.h"
#include "pages/placeholder_page_dlg.h"
#include "pages/status_dlg.h"
#include "pages/system_tool_dlg.h"
#include "ui/page_timer.h"
#include "ui/skin_look.h"
#include "ui/translate_window.h"

namespace
{

constexpr int kDelayedRefreshTimer = 2000;
constexpr int kDelayedRefreshPeriod = 100;
constexpr int kCycleRefreshTimer = 1000;
constexpr int kCycleRefreshPeriod = 30000;

// The order the pages are made in.
constexpr int kCreationOrder[] = {kPageSystemTool, kPageStatus,  kPageManagement, kPageBridge,
                                  kPageReboot,     kPageRestore, kPageUpgrade,    kPageInstallHelp};

} // namespace

CPageDlg* CChildDlg::CreateProgramPage(int pageId, QWidget* parent)
{
    switch (pageId)
    {
    case kPageSystemTool:
        return new CSystemToolDlg(DeviceLinkAdapterSource(CApplicationApp::Instance().Engine()), parent);
    case kPageStatus:
        return new CStatusDlg(ProgramDeviceLink(), parent);
    case kPageManagement:
        return new CPlaceholderPageDlg(pageId, "Device management", parent);
    case kPageBridge:
        return new CPlaceholderPageDlg(pageId, "Device bridge", parent);
    case kPageReboot:
        return new CPlaceholderPageDlg(pageId, "Device reboot", parent);
    case kPageRestore:
        return new CPlaceholderPageDlg(pageId, "Device restore", parent);
    case kPageUpgrade:
        return new CPlaceholderPageDlg(pageId, "Device upgrade", parent);
    case kPageInstallHelp:
        return new CInstallHelpDlg(parent);
    default:
        return nullptr;
    }
}

CChildDlg::CChildDlg(QWidget* parent, PageFactory factory) : CTDialog(parent, Kind::Child), m_currentPage(kPageStatus)
{
    setObjectName("childDlg");
    SetPageHost(this);
    TranslateWindow(this);
    SetBackgroundColor(ToQColor(CApplicationApp::Instance().Settings().ChildBkColor));

    if (!factory)
        factory = &CChildDlg::CreateProgramPage;
    for (int pageId : kCreationOrder)
        if (CPageDlg* page = factory(pageId, this))
        {
            page->setGeometry(rect());
            m_pages[pageId] = page;
        }
    for (auto& [id, page] : m_pages)
        page->setVisible(id == m_currentPage);

    m_delayedRefresh = new CPageTimer(kDelayedRefreshTimer, this);
    m_cycleRefresh = new CPageTimer(kCycleRefreshTimer, this);
    connect(m_delayedRefresh, &CPageTimer::Timeout, this, &CChildDlg::OnTimer);
    connect(m_cycleRefresh, &CPageTimer::Timeout, this, &CChildDlg::OnTimer);
    m_delayedRefresh->Start(kDelayedRefreshPeriod);
    m_cycleRefresh->Start(kCycleRefreshPeriod);
}

CChildDlg::~CChildDlg()
{
    if (PageHost() == this)
        SetPageHost(nullptr);
}

void CChildDlg::ChoosePage(int pageId)
{
    if (m_pages.count(pageId) == 0)
        return;
    m_currentPage = pageId;
    for (auto& [id, page] : m_pages)
        page->setVisible(id == pageId);
    m_delayedRefresh->Start(kDelayedRefreshPeriod);
}

CPageDlg* CChildDlg::Page(int pageId) const
{
    const auto found = m_pages.find(pageId);
    return found == m_pages.end() ? nullptr : found->second;
}

void CChildDlg::EnableMenu(bool enabled)
{
    if (m_menuEnabler)
        m_menuEnabler(enabled);
}

void CChildDlg::RefreshCurrent()
{
    if (CPageDlg* page = Page(m_currentPage); page != nullptr && page->HasRefresh())
        page->Refresh();
}

void CChildDlg::OnTimer(int id)
{
    if (id == kDelayedRefreshTimer)
    {
        m_delayedRefresh->Stop();
        RefreshCurrent();
        return;
    }
    // Reboot, upgrade and restore are read only when chosen: their ticks must survive.
    if (m_autoRefresh && m_currentPage != kPageReboot && m_currentPage != kPageUpgrade && m_currentPage != kPageRestore)
        RefreshCurrent();
}

bool CChildDlg::event(QEvent* event)
{
    if (event->type() != kPageChosenEvent)
        return CTDialog::event(event);
    const auto* chosen = static_cast<CPageChosenEvent*>(event);
    if (chosen->PageId() >= kPageStatus && chosen->PageId() <= kPageRestore)
        if (CPageDlg* page = Page(chosen->PageId()))
            page->GoToPage(chosen->PageNumber());
    return true;
}

void CChildDlg::resizeEvent(QResizeEvent* event)
{
    CTDialog::resizeEvent(event);
    for (auto& [id, page] : m_pages)
        page->setGeometry(rect());
}
