#include "pages/system_tool_dlg.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "app/application_app.h"
#include "link/local_adapter_library.h"
#include "link/transmit_manage.h"
#include "ui/format_text.h"
#include "ui/grid_view.h"
#include "ui/page_timer.h"
#include "ui/picture_view.h"
#include "ui/skin_look.h"
#include "ui/static_text.h"
#include "ui/text_bridge.h"
#include "ui/translate_window.h"

namespace
{

constexpr int kRefreshTimer = 1000;
constexpr int kRefreshPeriod = 5000;

QString FixedText(const char* text, size_t size)
{
    return LocalToQString(std::string_view(text, strnlen(text, size)));
}

GridRow AdapterRow(int number, const local_adapter_info& adapter)
{
    QString addresses;
    const int count = std::min(adapter.address_count, LOCAL_ADAPTER_MAX_ADDRESSES);
    for (int i = 0; i < count; ++i)
    {
        addresses += FixedText(adapter.addresses[i].ip, sizeof(adapter.addresses[i].ip));
        if (i + 1 < count)
            addresses += "--";
    }
    GridRow row;
    row.texts << QString::number(number) << FixedText(adapter.description, sizeof(adapter.description))
              << QString::fromStdString(AdapterMacText(adapter)) << addresses;
    return row;
}

} // namespace

AdapterSource DeviceLinkAdapterSource(AcTransmitManage* engine)
{
    return [engine]
    {
        std::vector<local_adapter_info> adapters;
        if (engine != nullptr)
            engine->GetLocalAdapterList(adapters);
        return adapters;
    };
}

CSystemToolDlg::CSystemToolDlg(AdapterSource source, QWidget* parent)
    : CPageDlg(kPageSystemTool, parent), m_source(std::move(source))
{
    m_grid = new CGridView(this);
    m_grid->setObjectName("adapterGrid");
    m_grid->setGeometry(FromDialogUnits(7), FromDialogUnits(5), FromDialogUnits(598), FromDialogUnits(329));

    auto* separator = new CPictureView(this);
    separator->setObjectName("separatorLine");
    separator->SetStretch(true);
    separator->SetFallbackColor(ToQColor(CApplicationApp::Instance().Settings().LineColor));
    separator->LoadSkinPicture("line.bmp");
    separator->setGeometry(FromDialogUnits(7), FromDialogUnits(338), FromDialogUnits(598), 1);

    m_countLabel = new CStaticText(QString(), this);
    m_countLabel->setObjectName("adapterCountLabel");
    m_countLabel->setGeometry(FromDialogUnits(7), FromDialogUnits(343), FromDialogUnits(200), FromDialogUnits(12));

    TranslateWindow(this);
    m_countLabel->setText(FormatLookup("Adapter count:%d", {QString::number(0)}));
    m_grid->SetColumns({{"ID", 60}, {"Description", 400}, {"MAC", 140}, {"IP", 400}});

    FillList();
    m_timer = new CPageTimer(kRefreshTimer, this);
    connect(m_timer, &CPageTimer::Timeout, this, [this] { FillList(); });
    m_timer->Start(kRefreshPeriod);
}

void CSystemToolDlg::FillList()
{
    const std::vector<local_adapter_info> adapters = m_source ? m_source() : std::vector<local_adapter_info>();
    std::vector<GridRow> rows;
    rows.reserve(adapters.size());
    for (size_t i = 0; i < adapters.size(); ++i)
        rows.push_back(AdapterRow(static_cast<int>(i) + 1, adapters[i]));
    m_grid->Model()->SetRows(std::move(rows));
    m_countLabel->setText(FormatLookup("Adapter count:%d", {QString::number(adapters.size())}));
}
