// The status page against the device simulator: the real windows offscreen, with the device link
// started in the tool host of a test LAN. Search finds every simulated device with what it reports,
// and a rename made in the grid reaches the device and shows once the device reports it.
#include <cstdlib>
#include <fstream>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/application_app.h"
#include "app/gui/application_dlg.h"
#include "common/program_dir_copy.h"
#include "common/temp_dir.h"
#include "common/wait_for.h"
#include "lan/engine_lan_support.h"
#include "link/local_adapter_library.h"
#include "link/transmit_manage.h"
#include "pages/status_dlg.h"
#include "store/display_values.h"
#include "ui/grid_view.h"
#include "ui/message_box.h"
#include "ui/picture_button.h"
#include "ui/url_opener.h"

namespace
{

using namespace std::chrono_literals;

const std::string kSim = FIELDMATE_BINARY_DIR "/fieldmate-sim";
constexpr int kDevices = 12;

nlohmann::json Dump(CTestLan& lan, const std::string& control, const std::string& state)
{
    if (lan.Run("", {kSim, "control", control, "dump"}) != 0)
        return {};
    std::ifstream file(state);
    return nlohmann::json::parse(file, nullptr, false);
}

nlohmann::json DeviceOf(const nlohmann::json& devices, const std::string& mac)
{
    for (const nlohmann::json& device : devices)
        if (device.at("mac") == mac)
            return device;
    return {};
}

// Seconds of an up time text "h:m:s" or "d h:m:s".
long UpTimeSeconds(const QString& text)
{
    const QStringList dayAndTime = text.split(' ');
    const QStringList parts = dayAndTime.last().split(':');
    if (parts.size() != 3)
        return -1;
    const long days = dayAndTime.size() == 2 ? dayAndTime.first().toLong() : 0;
    return days * 86400 + parts[0].toLong() * 3600 + parts[1].toLong() * 60 + parts[2].toLong();
}

int RowOfMac(CGridModel* model, const QString& mac)
{
    for (int row = 0; row < model->RowCount(); ++row)
        if (model->CellText(row, kStatusColumnMac) == mac)
            return row;
    return -1;
}

int StoredRows(CGridModel* model)
{
    int stored = 0;
    for (int row = 0; row < model->RowCount(); ++row)
        stored += model->RowValue(row) == 1 ? 1 : 0;
    return stored;
}

} // namespace

TEST(StatusPageLan, SearchShowsEverySimulatedDeviceAndARenameShowsOnceTheDeviceReportsIt)
{
    SKIP_WITHOUT_TEST_LAN();
    CTempDir program;
    CopyProgramFiles(program.Path(), {kLocalAdapterLibraryName});
    setenv("XDG_RUNTIME_DIR", program.Path().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    CTestLan lan("status");
    ASSERT_TRUE(lan.IsUp());
    const std::string state = program.Path() + "sim-state.json";
    const std::string control = program.Path() + "sim.ctl";
    CLanProcess sim = lan.Start("dev1", {kSim, "--count", std::to_string(kDevices), "--heartbeat-interval", "2",
                                         "--state", state, "--control", control});
    ASSERT_TRUE(WaitFor([&] { return sim.Output().find("devices on eth0") != std::string::npos; }, 20s))
        << sim.Output();

    // Everything from here on, the engine's sockets and threads included, lives in the tool host.
    CNamespaceScope tool(lan.Namespace("tool"));
    ASSERT_TRUE(tool.Entered());
    int argc = 1;
    char name[] = "lan_status_page_gui_test";
    char* argv[] = {name, nullptr};
    QApplication qt(argc, argv);
    AcTransmitManage::PrepareInstance(nullptr, program.Path() + kLocalAdapterLibraryName);
    ASSERT_TRUE(CApplicationApp::Instance().InitInstance(program.Path()));
    ASSERT_FALSE(CApplicationApp::Instance().LinkStartFailure().has_value())
        << *CApplicationApp::Instance().LinkStartFailure();
    CMessageBox::SetAnswerAllForTest(true);
    QStringList opened;
    SetUrlOpenerForTest([&](const QString& url) { opened << url; });

    {
        CApplicationDlg window;
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        auto* page = dynamic_cast<CStatusDlg*>(window.ChildDlg()->Page(kPageStatus));
        ASSERT_NE(page, nullptr);
        CGridModel* model = page->Grid()->Model();
        auto* searchButton = page->findChild<CPictureButton*>("searchButton");

        // The installer presses Search; the page shows the devices as they are stored.
        QTest::mouseClick(searchButton, Qt::LeftButton);
        ASSERT_TRUE(page->IsSearching());
        ASSERT_TRUE(QTest::qWaitFor([&] { return StoredRows(model) == kDevices; }, 20000))
            << "stored rows: " << StoredRows(model);
        QTest::mouseClick(searchButton, Qt::LeftButton); // Stop
        ASSERT_FALSE(page->IsSearching());
        ASSERT_EQ(model->RowCount(), kDevices);

        const nlohmann::json devices = Dump(lan, control, state);
        ASSERT_TRUE(devices.is_array());
        ASSERT_EQ(devices.size(), size_t(kDevices));
        for (const nlohmann::json& device : devices)
        {
            const QString mac = QString::fromStdString(device.at("mac"));
            SCOPED_TRACE(mac.toStdString());
            const int row = RowOfMac(model, mac);
            ASSERT_GE(row, 0);
            EXPECT_EQ(model->CellText(row, kStatusColumnLocation),
                      QString::fromStdString(device.at("name").get<std::string>()));
            EXPECT_EQ(model->CellText(row, kStatusColumnType), QString::fromStdString(device.at("model")));
            EXPECT_EQ(model->CellText(row, kStatusColumnIp), QString::fromStdString(device.at("ip")));
            EXPECT_EQ(model->CellText(row, kStatusColumnVersion),
                      QString::fromStdString(device.at("version").get<std::string>()));
            // Heartbeats keep the stored up time a few seconds behind the device's own.
            const long shown = UpTimeSeconds(model->CellText(row, kStatusColumnTime));
            const long actual = device.at("up_time").get<long>();
            EXPECT_LE(shown, actual);
            EXPECT_GE(shown, actual - 15);
        }

        // Its web page opens at its address.
        QTest::mouseClick(page->Grid()->viewport(), Qt::LeftButton, {},
                          page->Grid()->visualRect(model->index(0, kStatusColumnOperate)).center());
        ASSERT_EQ(opened, QStringList({"http://" + model->CellText(0, kStatusColumnIp)}));

        // A rename in the grid goes to the device.
        const QString mac = model->CellText(0, kStatusColumnMac);
        const QString newName = QString::fromUtf8("\xe5\xb1\x8b\xe9\xa1\xb6-east");
        const QModelIndex cell = model->index(0, kStatusColumnLocation);
        page->Grid()->setFocus();
        page->Grid()->edit(cell);
        auto* editor = qobject_cast<QLineEdit*>(page->Grid()->indexWidget(cell));
        ASSERT_NE(editor, nullptr);
        editor->setText(newName);
        QTest::keyClick(editor, Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !page->Grid()->IsEditing(); }, 5000));
        EXPECT_TRUE(CMessageBox::ShownBoxes().empty());
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return DeviceOf(Dump(lan, control, state), mac.toStdString()).value("name", "") ==
                       newName.toStdString();
            },
            10000));

        // The device reports its new configuration on its own; the page's refresh 2 s after the
        // rename, or the next one, shows it.
        ASSERT_TRUE(QTest::qWaitFor(
            [&]
            {
                const int row = RowOfMac(model, mac);
                return row >= 0 && model->CellText(row, kStatusColumnLocation) == newName;
            },
            10000));
    }
    SetUrlOpenerForTest({});
    EXPECT_EQ(sim.Stop(), 0) << sim.Output();
}
