// The status page: the device search and its timer, the pending devices, the web page link, the
// in-place rename with its name rules and the exact request it sends, and the selection of the
// batch buttons.
#include <cstring>

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "app/application_app.h"
#include "app/gui/application_dlg.h"
#include "app/gui/menu_dlg.h"
#include "link/message_types.h"
#include "pages/page_host.h"
#include "pages/status_dlg.h"
#include "store/display_values.h"
#include "store/sql_management.h"
#include "support/gui_test_support.h"
#include "support/status_page_fixture.h"
#include "ui/edit_field.h"
#include "ui/grid_view.h"
#include "ui/message_box.h"
#include "ui/page_timer.h"
#include "ui/picture_button.h"
#include "ui/picture_view.h"
#include "ui/skin_look.h"
#include "ui/text_bridge.h"
#include "ui/url_opener.h"

namespace
{

const char* const kSearchSteps[] = {"RefreshCaptureDevices", "ReleasePendingManageAp", "DeletePendingManageAp",
                                    "SyncStoreWithManageAp", "SendPacketBroadcast"};

const int kMenuPages[] = {kPageStatus,  kPageManagement, kPageBridge,     kPageReboot,
                          kPageUpgrade, kPageRestore,    kPageSystemTool, kPageInstallHelp};

QByteArray Bytes(const std::vector<uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// The name block a device expects: the name's bytes zero-filled to 32, then their count.
QByteArray NameBlock(const QByteArray& name)
{
    QByteArray block(33, '\0');
    std::memcpy(block.data(), name.constData(), static_cast<size_t>(name.size()));
    block[32] = static_cast<char>(name.size());
    return block;
}

ap_info_stu Named(ap_info_stu device, const std::string& name, int apType = 1)
{
    device.config.ap_name.Assign(name);
    device.ap_type = static_cast<uint16_t>(apType);
    return device;
}

} // namespace

class StatusPageTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CStatusPageFixture> f;

    CPictureButton* Button(const char* name) { return f->Page().findChild<CPictureButton*>(name); }
    bool MenuEnabled()
    {
        for (int id : kMenuPages)
            if (!f->Window().MenuDlg()->Button(id)->isEnabled())
                return false;
        return true;
    }
    void CheckIdleControls()
    {
        QVERIFY(!f->Page().IsSearching());
        QCOMPARE(Button("searchButton")->text(), LookupQText("Search"));
        QVERIFY(f->Page().findChild<CPictureView*>("searchAnimation")->isHidden());
        QVERIFY(f->Page().SearchBox()->isEnabled());
        QVERIFY(f->Grid().isEnabled());
        QVERIFY(f->Page().PageSizeCombo()->isEnabled());
        QVERIFY(MenuEnabled());
        QVERIFY(PageHost()->AutoRefresh());
        QVERIFY(!f->PageTimer(1000)->IsActive());
    }
    std::vector<SentRequest> SentAfterSenders()
    {
        f->Page().WaitForSenders();
        return f->Link().Sent();
    }

private slots:
    void initTestCase() { CStatusPageFixture::SetUpProgram(); }
    void init() { f = std::make_unique<CStatusPageFixture>(); }
    void cleanup()
    {
        f.reset();
        SetUrlOpenerForTest({});
    }

    void theColumnsOfAStoredDevice()
    {
        ap_info_stu device = TestDevice(5, "192.168.10.20");
        device.ap_type = 6; // TDMA-capable
        device.config.work_mode = 2;
        device.config.channel = 0;
        device.config.bridge_transparent = 1;
        device.config.tdmaEn = 0;
        device.config.up_time = 86400 + 3725;
        f->Store({device});
        f->ShowFirstTime();

        QCOMPARE(f->Grid().Model()->columnCount(), 14);
        const QStringList expected{"",
                                   "1",
                                   "device 5",
                                   QString::fromStdString(ModelLabel(6)),
                                   "192.168.10.20",
                                   QString::fromStdString(TestMacText(5)),
                                   LocalToQString(WorkModeText(2)),
                                   "roof-5",
                                   LocalToQString(ChannelText(0)),
                                   "V2.1.5",
                                   LookupQText("On2"),
                                   LookupQText("Off2"),
                                   "1 1:2:5",
                                   ""};
        for (int column = 0; column < expected.size(); ++column)
            QCOMPARE(f->Cell(0, column), expected[column]);
        QCOMPARE(f->Grid().Model()->RowValue(0), 1);
        QCOMPARE(f->Grid().Model()->RowTextColor(0), ToQColor(CApplicationApp::Instance().Settings().GridTextColor));
        QVERIFY(
            !f->Grid().Model()->data(f->Grid().Model()->index(0, kStatusColumnOperate), Qt::DecorationRole).isNull());
        QCOMPARE(f->Grid().Model()->headerData(kStatusColumnLocation, Qt::Horizontal).toString(),
                 LookupQText("Location"));
    }

    void pendingRowsFollowTheStoredRowsInTheirOwnColourAndAreInert()
    {
        f->StoreNumbered(12);
        f->Link().SetPending({PendingDevice(50, "10.0.1.50"), PendingDevice(51, "10.0.1.51", "roof-net")});
        QStringList opened;
        SetUrlOpenerForTest([&](const QString& url) { opened << url; });
        f->ShowFirstTime();

        QCOMPARE(f->Link().LastPendingMaximum(), 18);
        QVERIFY(!f->Link().LastPendingFilter().has_value());
        CGridModel* model = f->Grid().Model();
        QCOMPARE(model->RowCount(), 14);
        const QColor grey = ToQColor(CApplicationApp::Instance().Settings().TextUnlineColor);
        for (int row = 0; row < 14; ++row)
        {
            const bool pending = row >= 12;
            QCOMPARE(model->RowTextColor(row) == grey, pending);
            QCOMPARE(model->RowValue(row), pending ? 10 : 1);
            QCOMPARE(model->data(model->index(row, kStatusColumnOperate), Qt::DecorationRole).isNull(), pending);
            QCOMPARE(bool(model->flags(model->index(row, kStatusColumnLocation)) & Qt::ItemIsEditable), !pending);
        }
        QCOMPARE(f->Column(kStatusColumnSerial).mid(12), QStringList({"13", "14"}));
        // Known only from a short discover report: address, MAC, model and version.
        QCOMPARE(f->Cell(12, kStatusColumnIp), QString("10.0.1.50"));
        QCOMPARE(f->Cell(12, kStatusColumnMac), QString::fromStdString(TestMacText(50)));
        QCOMPARE(f->Cell(12, kStatusColumnType), QString::fromStdString(ModelLabel(1)));
        QCOMPARE(f->Cell(12, kStatusColumnVersion), QString("V2.1.50"));
        for (int column : {2, 6, 7, 8, 10, 11, 12})
            QVERIFY2(f->Cell(12, column).isEmpty(), qPrintable(QString::number(column)));
        QCOMPARE(f->Cell(13, kStatusColumnSsid), QString("roof-net"));
        QCOMPARE(f->Cell(13, kStatusColumnLocation), QString("pending 51"));
        QCOMPARE(f->Cell(13, kStatusColumnTime), QString("0:1:1"));
        // Pending devices count neither as pages nor as online devices.
        QCOMPARE(f->Page().PageCount(), 1);
        QCOMPARE(f->Page().OnlineCount(), 12);

        f->ClickCell(13, kStatusColumnOperate);
        QVERIFY(opened.isEmpty());
        f->ClickCell(0, kStatusColumnOperate);
        QCOMPARE(opened, QStringList({"http://" + f->Cell(0, kStatusColumnIp)}));
        QCOMPARE(opened.first(), QString("http://10.0.0.12"));
    }

    void pendingRowsShowOnlyOnTheLastPageWithRoom()
    {
        f->StoreNumbered(31);
        f->Link().SetPending({PendingDevice(50, "10.0.1.50"), PendingDevice(51, "10.0.1.51")});
        f->ShowFirstTime();
        QCOMPARE(f->Grid().Model()->RowCount(), 30);
        QCOMPARE(f->Link().CallCount("GetPendingApList"), 0);

        f->Page().GoToPage(2);
        QCOMPARE(f->Column(kStatusColumnSerial), QStringList({"31", "32", "33"}));
        QCOMPARE(f->Link().LastPendingMaximum(), 29);
        QCOMPARE(f->Grid().Model()->RowValue(0), 1);
        QCOMPARE(f->Grid().Model()->RowValue(1), 10);
    }

    void aSearchTextFiltersThePendingDevicesToo()
    {
        f->StoreNumbered(3);
        f->Link().SetPending({PendingDevice(50, "10.0.1.50"), PendingDevice(51, "10.0.9.51")});
        f->ShowFirstTime();
        f->Page().SearchBox()->setText("10.0.1.");
        QCOMPARE(f->Link().LastPendingFilter(), std::optional<std::string>("10.0.1."));
        QCOMPARE(f->Column(kStatusColumnIp), QStringList({"10.0.1.50"}));
    }

    void searchSendsTenBroadcastsAndEndsAfterThirtyTicks()
    {
        f->StoreNumbered(40);
        f->ShowFirstTime();
        f->Page().SearchBox()->setText("10.0.0");
        f->Page().GoToPage(2);
        f->Link().ClearRecords();

        f->ClickButton("searchButton");
        const std::vector<std::string> calls = f->Link().Calls();
        QVERIFY(calls.size() >= 5);
        QCOMPARE(std::vector<std::string>(calls.begin(), calls.begin() + 5),
                 std::vector<std::string>(std::begin(kSearchSteps), std::end(kSearchSteps)));
        QVERIFY(f->Page().IsSearching());
        QVERIFY(f->Page().SearchBox()->text().isEmpty());
        QVERIFY(f->Page().SearchText().isEmpty());
        QCOMPARE(f->Page().PageNumber(), 1);
        QCOMPARE(f->Grid().Model()->RowCount(), 30); // every device again, not only the searched ones
        QCOMPARE(Button("searchButton")->text(), LookupQText("Stop"));
        QVERIFY(!f->Page().findChild<CPictureView*>("searchAnimation")->isHidden());
        QVERIFY(!f->Page().SearchBox()->isEnabled());
        QVERIFY(!f->Grid().isEnabled());
        QVERIFY(!f->Page().PageSizeCombo()->isEnabled());
        QVERIFY(!MenuEnabled());
        QVERIFY(!PageHost()->AutoRefresh());
        QVERIFY(Button("setIpButton")->isEnabled());
        QVERIFY(f->Page().RefreshButton()->isEnabled());
        QCOMPARE(f->PageTimer(1000)->Period(), 1000);

        // The container's 30-second refresh stays off while the search runs.
        f->Page().GoToPage(2);
        QVERIFY(f->ContainerTimer(1000)->Fire());
        QCOMPARE(f->Page().PageNumber(), 2);

        std::vector<int> broadcastsAfterTick;
        for (int tick = 1; tick <= 29; ++tick)
        {
            f->Page().GoToPage(2);
            QVERIFY(f->PageTimer(1000)->Fire());
            broadcastsAfterTick.push_back(f->Link().CallCount("SendPacketBroadcast"));
            // Page 1 again after every broadcast.
            QCOMPARE(f->Page().PageNumber(), tick % 3 == 0 ? 1 : 2);
        }
        QCOMPARE(broadcastsAfterTick.back(), 10);
        QCOMPARE(broadcastsAfterTick[1], 1);
        QCOMPARE(broadcastsAfterTick[2], 2);
        QCOMPARE(broadcastsAfterTick[26], 10);
        QVERIFY(f->Page().IsSearching());

        f->Page().GoToPage(2);
        QVERIFY(f->PageTimer(1000)->Fire()); // the 30th tick ends the search
        QCOMPARE(f->Link().CallCount("SendPacketBroadcast"), 10);
        CheckIdleControls();
        QCOMPARE(f->Page().PageNumber(), 2); // ended with a refresh of the page as it was
        QCOMPARE(f->Grid().Model()->RowCount(), 10);
    }

    void stopEndsTheSearchAtOnceAndTheThirtySecondRefreshResumes()
    {
        f->StoreNumbered(3);
        f->ShowFirstTime();
        f->ClickButton("searchButton");
        for (int tick = 0; tick < 5; ++tick)
            QVERIFY(f->PageTimer(1000)->Fire());
        f->ClickButton("searchButton");
        CheckIdleControls();
        QCOMPARE(f->Link().CallCount("SendPacketBroadcast"), 2);

        f->Store({TestDevice(9, "10.0.0.9")});
        QVERIFY(f->ContainerTimer(1000)->Fire());
        QCOMPARE(f->Grid().Model()->RowCount(), 4);

        // A new search starts over: the same steps again.
        f->Link().ClearRecords();
        f->ClickButton("searchButton");
        QCOMPARE(f->Link().CallCount("RefreshCaptureDevices"), 1);
        QCOMPARE(f->Link().CallCount("SendPacketBroadcast"), 1);
        QVERIFY(f->Page().IsSearching());
    }

    void renamingToTheSameNameOrToNothingSendsNothing()
    {
        f->Store({TestDevice(1, "10.0.0.1")});
        f->ShowFirstTime();
        f->EditCell(0, kStatusColumnLocation, "device 1");
        QCOMPARE(f->Cell(0, kStatusColumnLocation), QString("device 1"));
        f->EditCell(0, kStatusColumnLocation, "");
        QCOMPARE(f->Cell(0, kStatusColumnLocation), QString("device 1"));
        QCoreApplication::processEvents();
        QVERIFY(SentAfterSenders().empty());
        QVERIFY(CMessageBox::ShownBoxes().empty());
        QVERIFY(!f->PageTimer(2000)->IsActive());
    }

    void namesOutsideTheModelsSetAreRefused_data()
    {
        QTest::addColumn<int>("apType");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QString restricted = "Device name maximum allowed 32 bytes, only support combination of Chinese, "
                                   "lowercase letters, 0-9 numbers";
        const QString open = "Device name maximum allowed 32 bytes, only support combination of Chinese, ASCII "
                             "characters";
        QTest::newRow("model 4, space") << 4 << "roof east" << restricted;
        QTest::newRow("model 261, comma") << 261 << "roof,east" << restricted;
        QTest::newRow("model 1, 33 bytes") << 1 << QString(33, 'a') << open;
        QTest::newRow("model 1, 11 Chinese") << 1 << QString(11, QChar(0x5c4b)) << open;
        QTest::newRow("model 1, accented") << 1 << QString::fromUtf8("caf\xc3\xa9") << open;
    }

    void namesOutsideTheModelsSetAreRefused()
    {
        QFETCH(int, apType);
        QFETCH(QString, name);
        QFETCH(QString, message);
        f->Store({Named(TestDevice(1, "10.0.0.1"), "old-name", apType)});
        f->ShowFirstTime();
        f->EditCell(0, kStatusColumnLocation, name);
        QTRY_COMPARE(CMessageBox::ShownBoxes().size(), size_t(1));
        QCOMPARE(CMessageBox::ShownBoxes()[0].kind, CMessageBox::Kind::Warning);
        QCOMPARE(CMessageBox::ShownBoxes()[0].text, LookupQText(message));
        QCOMPARE(f->Cell(0, kStatusColumnLocation), QString("old-name"));
        QVERIFY(SentAfterSenders().empty());
    }

    void anAcceptedNameSendsOneNameRequestAndRefreshesTwoSecondsLater_data()
    {
        QTest::addColumn<int>("apType");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("deviceBytes");
        QTest::newRow("model 1, ASCII with space") << 1 << "Roof East #2" << QByteArray("Roof East #2");
        QTest::newRow("model 4, restricted set") << 4 << "roof-east_2.a" << QByteArray("roof-east_2.a");
        const QString chinese = QString::fromUtf8("\xe5\xb1\x8b\xe9\xa1\xb6-1");
        QTest::newRow("Chinese, as UTF-8") << 276 << chinese << chinese.toUtf8();
        const QString full = QString(10, QChar(0x5c4b)) + "ab";
        QTest::newRow("exactly 32 bytes") << 1 << full << full.toUtf8();
    }

    void anAcceptedNameSendsOneNameRequestAndRefreshesTwoSecondsLater()
    {
        QFETCH(int, apType);
        QFETCH(QString, name);
        QFETCH(QByteArray, deviceBytes);
        f->Store({Named(TestDevice(1, "10.0.0.1"), "first", apType), TestDevice(2, "10.0.0.2")});
        f->ShowFirstTime();
        QCOMPARE(f->Cell(1, kStatusColumnIp), QString("10.0.0.1"));

        f->EditCell(1, kStatusColumnLocation, name);
        QCOMPARE(f->Cell(1, kStatusColumnLocation), name);
        const std::vector<SentRequest> sent = SentAfterSenders();
        QCOMPARE(sent.size(), size_t(1));
        QCOMPARE(sent[0].ip, std::string("10.0.0.1"));
        QCOMPARE(sent[0].mac, TestMacText(1));
        QCOMPARE(sent[0].msgType, kMsgDeviceName);
        QVERIFY(sent[0].retransmit);
        QCOMPARE(Bytes(sent[0].payload), NameBlock(deviceBytes));
        QCOMPARE(sent[0].payload.size(), size_t(33));
        QVERIFY(CMessageBox::ShownBoxes().empty());

        // Two seconds later the page shows what the store then holds.
        QVERIFY(f->PageTimer(2000)->IsActive());
        QCOMPARE(f->PageTimer(2000)->Period(), 2000);
        f->Store({Named(TestDevice(1, "10.0.0.1"), "as reported", apType)});
        QVERIFY(f->PageTimer(2000)->Fire());
        QVERIFY(!f->PageTimer(2000)->IsActive());
        QCOMPARE(f->Cell(1, kStatusColumnLocation), QString("as reported"));
    }

    void aNewRenameReplacesTheSenderAndEachSendsItsOwnCopy()
    {
        f->Store({TestDevice(1, "10.0.0.1"), TestDevice(2, "10.0.0.2")});
        f->ShowFirstTime();
        f->Link().HoldSends(true);
        f->EditCell(0, kStatusColumnLocation, "first-name");
        QVERIFY(f->Link().WaitForSendsEntered(1)); // the first sender is inside the engine call
        f->EditCell(1, kStatusColumnLocation, "second-name");
        QVERIFY(f->Link().WaitForSendsEntered(2));
        f->Link().HoldSends(false);

        const std::vector<SentRequest> sent = SentAfterSenders();
        QCOMPARE(sent.size(), size_t(2));
        std::map<std::string, QByteArray> byIp;
        for (const SentRequest& request : sent)
            byIp[request.ip] = Bytes(request.payload);
        QCOMPARE(byIp["10.0.0.2"], NameBlock("first-name"));
        QCOMPARE(byIp["10.0.0.1"], NameBlock("second-name"));
    }

    void batchButtonsSelectTheTickedConfigurableRows()
    {
        ap_info_stu bridgeless = TestDevice(1, "10.0.0.1");
        bridgeless.ap_type = 4; // no transparent-bridge state, no TDMA
        ap_info_stu tdma = TestDevice(2, "10.0.0.2");
        tdma.ap_type = 6;
        ap_info_stu repeater = TestDevice(3, "10.0.0.3");
        repeater.config.work_mode = 4; // Repeater: no transparent-bridge state
        f->Store({bridgeless, tdma, repeater});
        f->Link().SetPending({PendingDevice(50, "10.0.1.50")});
        f->ShowFirstTime();
        // Rows: 10.0.0.3, 10.0.0.2, 10.0.0.1, then the pending 10.0.1.50.

        f->ClickButton("setIpButton");
        QCOMPARE(CMessageBox::ShownBoxes().size(), size_t(1));
        QCOMPARE(CMessageBox::ShownBoxes()[0].kind, CMessageBox::Kind::Warning);
        QCOMPARE(CMessageBox::ShownBoxes()[0].text, LookupQText("Please select the devices!"));
        QVERIFY(f->Page().Selection().empty());

        f->ClickCell(0, kStatusColumnTick);
        f->ClickCell(2, kStatusColumnTick);
        f->ClickButton("setBridgeButton");
        QCOMPARE(CMessageBox::ShownBoxes().size(), size_t(2));
        QCOMPARE(CMessageBox::ShownBoxes()[1].text, LookupQText("Please select configurable devices!"));

        f->ClickCell(1, kStatusColumnTick);
        f->ClickCell(3, kStatusColumnTick);
        f->ClickButton("setIpButton");
        QCOMPARE(f->Page().Selection(), std::vector<SelectedDevice>({{"10.0.0.3", TestMacText(3), 1},
                                                                     {"10.0.0.2", TestMacText(2), 6},
                                                                     {"10.0.0.1", TestMacText(1), 4},
                                                                     {"10.0.1.50", TestMacText(50), 1}}));
        f->ClickButton("setBridgeButton");
        QCOMPARE(f->Page().Selection(),
                 std::vector<SelectedDevice>({{"10.0.0.2", TestMacText(2), 6}, {"10.0.1.50", TestMacText(50), 1}}));
        // A pending device known only from its discover report shows no state, so nothing rules it out.
        f->ClickButton("slotraButton");
        QCOMPARE(f->Page().Selection(),
                 std::vector<SelectedDevice>({{"10.0.0.2", TestMacText(2), 6}, {"10.0.1.50", TestMacText(50), 1}}));
        QCOMPARE(CMessageBox::ShownBoxes().size(), size_t(2));
    }

    void screenshotsOfTheFilledPage()
    {
        const char* names[] = {"\xe5\xb1\x8b\xe9\xa1\xb6\xe4\xb8\x9c-1",
                               "North mast",
                               "\xe4\xbb\x93\xe5\xba\x93",
                               "gate-cam",
                               "\xe6\xb0\xb4\xe5\xa1\x94\xe5\x8c\x97\xe4\xbe\xa7\xe8\xae\xbe\xe5\xa4\x87",
                               "silo 3",
                               "barn",
                               "Office link",
                               "pump house",
                               "\xe5\x8a\x9e\xe5\x85\xac\xe6\xa5\xbc",
                               "field-07",
                               "tower west relay"};
        const int types[] = {1, 6, 4, 261, 9, 2, 17, 265, 3, 7, 276, 14};
        std::vector<ap_info_stu> devices;
        for (int i = 0; i < 12; ++i)
        {
            ap_info_stu device = Named(TestDevice(i, "192.168.1." + std::to_string(20 + i)), names[i], types[i]);
            device.config.work_mode = static_cast<uint8_t>(1 + i % 3);
            device.config.tdmaEn = static_cast<uint8_t>(i % 2);
            device.config.bridge_transparent = static_cast<uint8_t>(i % 3 == 0);
            device.config.up_time = static_cast<uint32_t>(i * 40000 + 125);
            device.config.channel = static_cast<uint8_t>(i % 4 == 0 ? 0 : 36 + 4 * i);
            devices.push_back(device);
        }
        f->Store(devices);
        CApplicationApp::Instance().Store()->SetDeviceStatus(TestMacText(3), 0);
        f->Link().SetPending({PendingDevice(60, "192.168.1.60"), PendingDevice(61, "192.168.1.61", "farm-ap")});
        f->ShowFirstTime();
        f->ClickCell(1, kStatusColumnTick);
        SaveScreenshot(&f->Window(), "status_page");
        f->Grid().scrollToBottom();
        SaveScreenshot(&f->Window(), "status_page_pending_rows");
        f->ClickButton("searchButton");
        SaveScreenshot(&f->Window(), "status_page_searching");
        f->ClickButton("searchButton");
    }
};

QTEST_MAIN(StatusPageTest)
#include "status_page_test.moc"
