#include "pages/status_dlg.h"

#include <optional>
#include <utility>

#include <QComboBox>
#include <QTimer>

#include "app/application_app.h"
#include "link/address_text.h"
#include "link/message_types.h"
#include "pages/device_link.h"
#include "pages/page_host.h"
#include "store/display_values.h"
#include "support/operate_character.h"
#include "support/validation_checks.h"
#include "support/validation_rules.h"
#include "ui/edit_field.h"
#include "ui/grid_view.h"
#include "ui/message_box.h"
#include "ui/page_timer.h"
#include "ui/picture_button.h"
#include "ui/picture_view.h"
#include "ui/skin_look.h"
#include "ui/text_bridge.h"
#include "ui/translate_window.h"
#include "ui/url_opener.h"

namespace
{

constexpr int kSearchTimer = 1000;
constexpr int kSearchTickPeriod = 1000;
constexpr int kRefreshTimer = 2000;
constexpr int kRefreshDelay = 2000;
constexpr int kWebPictureWidth = 50;
constexpr int kWebPictureHeight = 16;
constexpr const char* kNotApplicable = "N/A";

ListPageSpec StatusPageSpec()
{
    ListPageSpec spec;
    // Widths share the grid's width with a vertical scroll bar, each as wide as what it shows: a MAC,
    // an address, a firmware version and an up time of many days always show whole.
    spec.columns = {
        {"", 20, GridCellKind::Tick},
        {"Serial", 46},
        {"Location", 100, GridCellKind::Text, true},
        {"Type", 72},
        {"IP", 102},
        {"MAC", 112},
        {"OperationMode", 62},
        {"SSID", 96},
        {"Channel", 58},
        {"Version", 104},
        {"Transparent bridge", 58},
        {"Slotra", 54},
        {"Time", 82},
        {"Operate", 56, GridCellKind::Picture},
    };
    spec.sortCodes = {
        {kStatusColumnLocation, 2}, {kStatusColumnType, 3},  {kStatusColumnIp, 1},      {kStatusColumnMac, 0},
        {kStatusColumnWorkMode, 4}, {kStatusColumnSsid, 5},  {kStatusColumnChannel, 6}, {kStatusColumnVersion, 9},
        {kStatusColumnBridge, 10},  {kStatusColumnTdma, 11}, {kStatusColumnTime, 12},
    };
    spec.otherSortCode = 1;
    spec.initialSortColumn = kStatusColumnIp;
    return spec;
}

QString Local(const std::string& text)
{
    return LocalToQString(text);
}

std::u16string Wide(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

QRect Units(int x, int y, int width, int height)
{
    return {FromDialogUnits(x), FromDialogUnits(y), FromDialogUnits(width), FromDialogUnits(height)};
}

} // namespace

CStatusDlg::CStatusDlg(IDeviceLink& link, QWidget* parent)
    : CListPageDlg(kPageStatus, StatusPageSpec(), parent), m_link(link)
{
    const auto button = [this](const char* name, const char* label, int x)
    {
        auto* made = new CPictureButton(this);
        made->setObjectName(name);
        made->setText(label);
        made->setGeometry(Units(x, 4, 40, 18));
        return made;
    };
    m_searchButton = button("searchButton", "Search", 7);
    m_setIpButton = button("setIpButton", "Set IP", 49);
    m_setBridgeButton = button("setBridgeButton", "Set Bridge", 91);
    m_tdmaButton = button("slotraButton", "Slotra", 133);

    m_searchAnimation = new CPictureView(this);
    m_searchAnimation->setObjectName("searchAnimation");
    m_searchAnimation->LoadSkinPicture("wait_search.gif");
    m_searchAnimation->setGeometry(Units(305, 170, 16, 15));
    m_searchAnimation->hide();

    m_searchTimer = new CPageTimer(kSearchTimer, this);
    m_refreshTimer = new CPageTimer(kRefreshTimer, this);
    connect(m_searchTimer, &CPageTimer::Timeout, this, &CStatusDlg::OnSearchTick);
    connect(m_refreshTimer, &CPageTimer::Timeout, this,
            [this]
            {
                m_refreshTimer->Stop();
                Refresh();
            });

    m_webPicture =
        SkinStripImage(SkinFileForLanguage("web_chinese.bmp", "web_other.bmp"), 0, kWebPictureWidth, kWebPictureHeight);

    // Pending rows (hidden value 10) cannot be renamed.
    Grid()->Model()->SetEditFilter(
        [this](int row, int column)
        { return column == kStatusColumnLocation && Grid()->Model()->RowValue(row) != kStatusPending; });
    connect(Grid()->Model(), &CGridModel::CellEdited, this, &CStatusDlg::OnCellEdited);
    connect(m_searchButton, &QAbstractButton::clicked, this, &CStatusDlg::OnSearchButton);
    connect(m_setIpButton, &QAbstractButton::clicked, this, [this] { OnBatchButton(BatchKind::SetIp); });
    connect(m_setBridgeButton, &QAbstractButton::clicked, this, [this] { OnBatchButton(BatchKind::SetBridge); });
    connect(m_tdmaButton, &QAbstractButton::clicked, this, [this] { OnBatchButton(BatchKind::Tdma); });

    TranslateWindow(this);
}

CStatusDlg::~CStatusDlg() = default;

GridRow CStatusDlg::MakeRow(const ap_info_stu& record, int serial) const
{
    const ap_config_info& c = record.config;
    const int apType = uint16_t{record.ap_type};
    const bool pending = int32_t{record.ap_status} == kStatusPending;
    // A pending device known only from a short discover report has no configuration to show.
    const bool configured = !pending || c.ssid.len > 0;

    GridRow row;
    row.texts.resize(kStatusColumnOperate + 1);
    row.texts[kStatusColumnSerial] = QString::number(serial);
    row.texts[kStatusColumnType] = Local(ModelLabel(apType));
    row.texts[kStatusColumnIp] = Local(IpBytesToText(c.ip));
    row.texts[kStatusColumnMac] = Local(InfoMacText(record));
    row.texts[kStatusColumnVersion] = Local(c.version.Str());
    if (configured)
    {
        row.texts[kStatusColumnLocation] = Local(c.ap_name.Str());
        row.texts[kStatusColumnWorkMode] = Local(WorkModeText(c.work_mode));
        row.texts[kStatusColumnSsid] = Local(c.ssid.Str());
        row.texts[kStatusColumnChannel] = Local(ChannelText(c.channel));
        row.texts[kStatusColumnBridge] = Local(TransparentBridgeText(apType, c.work_mode, c.bridge_transparent));
        row.texts[kStatusColumnTdma] = Local(TdmaText(apType, c.tdmaEn));
        row.texts[kStatusColumnTime] = Local(UpTimeText(c.up_time));
    }
    if (pending)
        row.textColor = ToQColor(CApplicationApp::Instance().Settings().TextUnlineColor);
    else
    {
        row.pictures.resize(kStatusColumnOperate + 1);
        row.pictures[kStatusColumnOperate] = m_webPicture;
    }
    return row;
}

std::vector<ap_info_stu> CStatusDlg::TrailingRecords(int missing, const QString& search)
{
    std::vector<ap_info_stu> pending;
    const std::string filter = QStringToLocal(search);
    m_link.GetPendingApList(pending, missing, filter.empty() ? std::nullopt : std::optional<std::string_view>(filter));
    return pending;
}

void CStatusDlg::OnCellClicked(int row, int column)
{
    if (column != kStatusColumnOperate || Grid()->Model()->RowValue(row) == kStatusPending)
        return;
    OpenUrl("http://" + Grid()->Model()->CellText(row, kStatusColumnIp));
}

void CStatusDlg::OnSearchButton()
{
    if (m_idle)
        StartSearch();
    else
        EndSearch();
}

void CStatusDlg::StartSearch()
{
    m_idle = false;
    m_link.RefreshCaptureDevices();
    m_link.ReleasePendingManageAp();
    m_link.DeletePendingManageAp();
    m_link.SyncStoreWithManageAp();
    m_link.SendPacketBroadcast();
    m_searchTicks = 0;
    SetSearchTextQuietly(QString());
    UpdateListData(1, !DirectionFlag(), SortColumn(), QString());
    m_searchAnimation->show();
    m_searchButton->setText(LookupQText("Stop"));
    SetSearchControlsEnabled(false);
    if (CPageHost* host = PageHost())
        host->SetAutoRefresh(false);
    m_searchTimer->Start(kSearchTickPeriod);
}

void CStatusDlg::EndSearch()
{
    m_idle = true;
    m_searchTimer->Stop();
    m_searchAnimation->hide();
    m_searchButton->setText(LookupQText("Search"));
    SetSearchControlsEnabled(true);
    if (CPageHost* host = PageHost())
        host->SetAutoRefresh(true);
    Refresh();
}

void CStatusDlg::OnSearchTick()
{
    ++m_searchTicks;
    if (m_searchTicks >= kSearchTicks)
    {
        EndSearch();
        return;
    }
    if (m_searchTicks % kBroadcastEveryTicks == 0)
    {
        m_link.SendPacketBroadcast();
        UpdateListData(1, !DirectionFlag(), SortColumn(), SearchText());
    }
}

void CStatusDlg::SetSearchControlsEnabled(bool enabled)
{
    // The focus stays on the button that stops the search rather than jumping to whatever comes next.
    if (!enabled && (SearchBox()->hasFocus() || Grid()->hasFocus() || PageSizeCombo()->hasFocus()))
        m_searchButton->setFocus(Qt::OtherFocusReason);
    SearchBox()->setEnabled(enabled);
    Grid()->setEnabled(enabled);
    PageSizeCombo()->setEnabled(enabled);
    if (CPageHost* host = PageHost())
        host->EnableMenu(enabled);
}

void CStatusDlg::OnCellEdited(int row, int column, const QString& oldText, const QString& newText)
{
    if (column != kStatusColumnLocation || newText == oldText)
        return;
    CGridModel* model = Grid()->Model();
    if (newText.isEmpty())
    {
        model->SetCellText(row, column, oldText);
        return;
    }
    RenameTarget target;
    target.ip = QStringToLocal(model->CellText(row, kStatusColumnIp));
    target.mac = QStringToLocal(model->CellText(row, kStatusColumnMac));
    target.apType = ModelCode(QStringToLocal(model->CellText(row, kStatusColumnType)));
    target.oldName = oldText;

    if (const ValidationResult failure = CheckDeviceName(Wide(newText), target.apType))
    {
        model->SetCellText(row, column, oldText);
        // Shown once the grid has closed its editor, not from inside the edit's commit.
        const QString message = Local(ValidationMessageText(*failure));
        QTimer::singleShot(0, this, [this, message] { CMessageBox::Warning(this, message); });
        return;
    }
    target.newName = QString::fromStdU16String(CutToUtf8Bytes(Wide(newText), kNameByteLimit));
    model->SetCellText(row, column, target.newName);
    m_renameTarget = target;
    StartRenameSender(m_renameTarget);
    m_refreshTimer->Start(kRefreshDelay);
}

void CStatusDlg::StartRenameSender(const RenameTarget& target)
{
    // The sender's own copies: a later rename cannot change what this one sends.
    const std::string name = QStringToLocal(target.newName);
    m_renameSender.Replace(
        [&link = m_link, ip = target.ip, mac = target.mac, name](std::stop_token stop)
        {
            if (stop.stop_requested())
                return;
            ap_text_field<32> block;
            block.Assign(LocalTextToDevice(name));
            link.SendPacketMutilcast(ip, kMsgDeviceName, &block, sizeof(block), mac, true);
        });
}

void CStatusDlg::OnBatchButton(BatchKind kind)
{
    m_selection.clear();
    CGridModel* model = Grid()->Model();
    for (int row = 0; row < model->RowCount(); ++row)
    {
        if (!model->IsTicked(row))
            continue;
        if (kind == BatchKind::SetBridge && model->CellText(row, kStatusColumnBridge) == kNotApplicable)
            continue;
        if (kind == BatchKind::Tdma && model->CellText(row, kStatusColumnTdma) == kNotApplicable)
            continue;
        m_selection.push_back({QStringToLocal(model->CellText(row, kStatusColumnIp)),
                               QStringToLocal(model->CellText(row, kStatusColumnMac)),
                               ModelCode(QStringToLocal(model->CellText(row, kStatusColumnType)))});
    }
    if (m_selection.empty())
        CMessageBox::Warning(this, LookupQText(kind == BatchKind::SetIp ? "Please select the devices!"
                                                                        : "Please select configurable devices!"));
}
