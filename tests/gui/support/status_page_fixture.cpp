#include "support/status_page_fixture.h"

#include <cstdio>
#include <cstring>

#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>

#include "app/application_app.h"
#include "app/gui/application_dlg.h"
#include "link/address_text.h"
#include "pages/status_dlg.h"
#include "store/sql_management.h"
#include "ui/grid_view.h"
#include "ui/message_box.h"
#include "ui/page_timer.h"
#include "ui/picture_button.h"

namespace
{

std::unique_ptr<CTestProgram>& Program()
{
    static std::unique_ptr<CTestProgram> program;
    return program;
}

void SetIp(ap_info_stu& device, const std::string& ip)
{
    const Ipv4Bytes bytes = IpTextToBytes(ip);
    std::copy(bytes.begin(), bytes.end(), device.config.ip);
}

} // namespace

std::string TestMacText(int number)
{
    char text[18];
    snprintf(text, sizeof(text), "02:00:00:00:%02x:%02x", (number >> 8) & 0xff, number & 0xff);
    return text;
}

ap_info_stu TestDevice(int number, const std::string& ip)
{
    ap_info_stu device;
    std::memset(&device, 0, sizeof(device));
    SetInfoMacText(device, TestMacText(number));
    device.ap_type = 1;
    device.ap_status = 1;
    ap_config_info& c = device.config;
    c.work_mode = 1;
    c.ap_type = 1;
    c.up_time = static_cast<uint32_t>(3600 + number);
    SetIp(device, ip);
    c.ap_name.Assign("device " + std::to_string(number));
    c.version.Assign("V2.1." + std::to_string(number));
    c.ssid.Assign("roof-" + std::to_string(number));
    c.channel = static_cast<uint8_t>(1 + number % 11);
    c.tx_power = 20;
    return device;
}

ap_info_stu PendingDevice(int number, const std::string& ip, const std::string& ssid)
{
    ap_info_stu device;
    std::memset(&device, 0, sizeof(device));
    SetInfoMacText(device, TestMacText(number));
    device.ap_type = 1;
    device.ap_status = 10;
    SetIp(device, ip);
    device.config.version.Assign("V2.1." + std::to_string(number));
    if (!ssid.empty())
    {
        device.config.ssid.Assign(ssid);
        device.config.ap_name.Assign("pending " + std::to_string(number));
        device.config.work_mode = 2;
        device.config.channel = 0;
        device.config.up_time = 61;
    }
    return device;
}

void CStatusPageFixture::SetUpProgram()
{
    Program() = std::make_unique<CTestProgram>();
    CMessageBox::SetAnswerAllForTest(true);
    // A second lasts a thousand: no timer fires unless a test fires it.
    CPageTimer::SetPeriodScale(1000);
}

CStatusPageFixture::CStatusPageFixture()
{
    CSqlManagement* store = CApplicationApp::Instance().Store();
    std::vector<std::string> macs;
    store->ListDeviceMacs(macs);
    for (const std::string& mac : macs)
        store->DeleteDevice(mac);
    CMessageBox::ClearShownBoxes();

    m_window = std::make_unique<CApplicationDlg>(
        [this](int pageId, QWidget* parent) -> CPageDlg*
        {
            if (pageId != kPageStatus)
                return nullptr;
            m_page = new CStatusDlg(m_link, parent);
            return m_page;
        });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

CStatusPageFixture::~CStatusPageFixture()
{
    m_window.reset();
}

CGridView& CStatusPageFixture::Grid()
{
    return *m_page->Grid();
}

void CStatusPageFixture::Store(const std::vector<ap_info_stu>& devices)
{
    for (const ap_info_stu& device : devices)
        QVERIFY(CApplicationApp::Instance().Store()->SaveDeviceConfig(device));
}

void CStatusPageFixture::StoreNumbered(int count)
{
    std::vector<ap_info_stu> devices;
    for (int i = 0; i < count; ++i)
        devices.push_back(TestDevice(i, "10.0.0." + std::to_string(i + 1)));
    Store(devices);
}

void CStatusPageFixture::ShowFirstTime()
{
    QVERIFY(ContainerTimer(2000)->Fire());
}

CPageTimer* CStatusPageFixture::PageTimer(int id)
{
    return m_page->findChild<CPageTimer*>(QString("timer%1").arg(id), Qt::FindDirectChildrenOnly);
}

CPageTimer* CStatusPageFixture::ContainerTimer(int id)
{
    return m_window->ChildDlg()->findChild<CPageTimer*>(QString("timer%1").arg(id), Qt::FindDirectChildrenOnly);
}

void CStatusPageFixture::ClickHeader(int column)
{
    QHeaderView* header = Grid().horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

void CStatusPageFixture::ClickCell(int row, int column)
{
    const QRect cell = Grid().visualRect(Grid().model()->index(row, column));
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, cell.center());
}

void CStatusPageFixture::ClickButton(const char* objectName)
{
    auto* button = m_page->findChild<CPictureButton*>(objectName);
    QVERIFY2(button != nullptr, objectName);
    QTest::mouseClick(button, Qt::LeftButton);
}

void CStatusPageFixture::EditCell(int row, int column, const QString& text)
{
    const QModelIndex cell = Grid().model()->index(row, column);
    Grid().setFocus();
    Grid().edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(Grid().indexWidget(cell));
    QVERIFY(editor != nullptr);
    editor->selectAll();
    editor->insert(text);
    if (text.isEmpty())
        editor->clear();
    QTest::keyClick(editor, Qt::Key_Return);
    // The grid commits and closes the editor from its event queue.
    QTRY_VERIFY(!Grid().IsEditing());
}

QStringList CStatusPageFixture::Column(int column)
{
    QStringList texts;
    for (int row = 0; row < Grid().Model()->RowCount(); ++row)
        texts << Grid().Model()->CellText(row, column);
    return texts;
}

QString CStatusPageFixture::Cell(int row, int column)
{
    return Grid().Model()->CellText(row, column);
}
