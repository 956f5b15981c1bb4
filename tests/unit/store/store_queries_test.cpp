#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/display_values.h"
#include "store/sql_management.h"
#include "support/language.h"
#include "unit/store/full_scan_device_page.h"
#include "unit/store/store_test_support.h"

namespace
{

class StoreQueries : public StoreTest
{
protected:
    void SaveDevices(int count)
    {
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(Store().SaveDeviceConfig(TestDevice(i)));
    }

    struct page_result
    {
        bool ran = false;
        std::vector<std::string> macs;
        int pageCount = -1;
        int onlineCount = 0;
    };

    page_result Page(int sortCode, int pageSize, int page, bool ascending = true, const std::string& search = "")
    {
        page_result result;
        std::vector<ap_info_stu> list;
        result.pageCount = -1;
        result.ran = Store().QueryDevicePage(sortCode, list, result.pageCount, result.onlineCount, pageSize, page,
                                             ascending, search);
        for (const ap_info_stu& device : list)
            result.macs.push_back(InfoMacText(device));
        return result;
    }

    std::vector<std::string> Search(const std::string& text)
    {
        std::vector<std::string> macs = Page(0, 1000, 1, true, text).macs;
        std::sort(macs.begin(), macs.end());
        return macs;
    }

    void SaveNamed(int number, const std::string& name)
    {
        ap_info_stu device = TestDevice(number);
        device.config.ap_name.Assign(name);
        device.config.ssid.Assign("wifi");
        device.config.version.Assign("V1");
        ASSERT_TRUE(Store().SaveDeviceConfig(device));
    }
};

} // namespace

TEST_F(StoreQueries, PagesOfSixtyOneDevices)
{
    SaveDevices(61);
    ASSERT_TRUE(Store().SetDeviceStatus(TestMac(60), kStatusOffline));
    struct Case
    {
        int page;
        size_t rows;
        int first;
    };
    const Case cases[] = {{1, 30, 0}, {2, 30, 30}, {3, 1, 60}, {4, 0, -1}, {0, 0, -1}, {-3, 0, -1}};
    for (const Case& c : cases)
    {
        const page_result result = Page(1, 30, c.page);
        ASSERT_TRUE(result.ran) << c.page;
        EXPECT_EQ(result.macs.size(), c.rows) << c.page;
        EXPECT_EQ(result.pageCount, 3) << c.page;
        EXPECT_EQ(result.onlineCount, 60) << c.page;
        if (c.first >= 0)
        {
            EXPECT_EQ(result.macs.front(), TestMac(c.first)) << c.page;
        }
    }
}

TEST_F(StoreQueries, NoMatchingRows)
{
    for (int withDevices = 0; withDevices < 2; ++withDevices)
    {
        if (withDevices)
            SaveDevices(5);
        const page_result result = Page(0, 30, 1, true, withDevices ? "no such text" : "");
        EXPECT_TRUE(result.ran);
        EXPECT_TRUE(result.macs.empty());
        EXPECT_EQ(result.pageCount, 0);
        EXPECT_EQ(result.onlineCount, 0);
    }
}

TEST_F(StoreQueries, UnknownSortCodesAndPageSizesRunNothing)
{
    SaveDevices(3);
    struct Case
    {
        int sortCode;
        int pageSize;
    };
    for (const Case& c : {Case{14, 30}, Case{-1, 30}, Case{0, 0}, Case{0, -5}})
    {
        std::vector<ap_info_stu> list(1);
        std::memset(&list[0], 0x5a, sizeof(list[0]));
        int pageCount = 77;
        int onlineCount = 88;
        EXPECT_FALSE(Store().QueryDevicePage(c.sortCode, list, pageCount, onlineCount, c.pageSize, 1, true, ""));
        EXPECT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0].ap_type, 0x5a5a);
        EXPECT_EQ(pageCount, 77);
        EXPECT_EQ(onlineCount, 88);
    }
}

TEST_F(StoreQueries, SortByAddressIsNumeric)
{
    const char* addresses[] = {"10.0.0.10", "192.168.1.1", "10.0.0.9", "9.255.255.255", "200.0.0.1"};
    for (int i = 0; i < 5; ++i)
    {
        ap_info_stu device = TestDevice(i);
        SetIp(device, addresses[i]);
        ASSERT_TRUE(Store().SaveDeviceConfig(device));
    }
    const std::vector<std::string> ascending = {TestMac(3), TestMac(2), TestMac(0), TestMac(1), TestMac(4)};
    EXPECT_EQ(Page(1, 30, 1, true).macs, ascending);
    EXPECT_EQ(Page(1, 30, 1, false).macs, std::vector<std::string>(ascending.rbegin(), ascending.rend()));
}

TEST_F(StoreQueries, EverySortCodeOrdersByItsColumn)
{
    // Three devices whose order differs from column to column; ties fall back to storing order.
    struct Device
    {
        const char* mac;
        const char* ip;
        const char* name;
        uint16_t type;
        uint8_t workMode, channel, secure, power, transparent, tdma;
        const char* ssid;
        const char* version;
        uint32_t upTime;
    };
    const Device devices[] = {
        {"02:00:00:00:00:03", "10.0.0.2", "beta", 257, 2, 6, 4, 10, 1, 0, "Zulu", "V2", 50},
        {"02:00:00:00:00:01", "10.0.0.3", "Alpha", 3, 1, 11, 0, 27, 0, 1, "alpha", "V10", 7},
        {"02:00:00:00:00:02", "10.0.0.1", "gamma", 18, 3, 1, 2, 5, 0, 0, "mike", "V1", 900},
    };
    for (const Device& d : devices)
    {
        ap_info_stu device = TestDevice(0);
        SetInfoMacText(device, d.mac);
        SetIp(device, d.ip);
        device.config.ap_name.Assign(d.name);
        device.ap_type = d.type;
        device.config.work_mode = d.workMode;
        device.config.channel = d.channel;
        device.config.secure_mode = d.secure;
        device.config.tx_power = d.power;
        device.config.bridge_transparent = d.transparent;
        device.config.tdmaEn = d.tdma;
        device.config.ssid.Assign(d.ssid);
        device.config.version.Assign(d.version);
        device.config.up_time = d.upTime;
        ASSERT_TRUE(Store().SaveDeviceConfig(device));
    }
    ASSERT_TRUE(Store().SetDeviceStatus("02:00:00:00:00:01", kStatusUpgradeFail));
    ASSERT_TRUE(Store().SetDeviceStatus("02:00:00:00:00:02", kStatusOffline));

    // Expected ascending order as the last byte of the MAC of each device.
    const std::vector<std::string> order[] = {
        /* 0 mac */ {"01", "02", "03"},
        /* 1 ip_num */ {"02", "03", "01"},
        /* 2 ap_name, letter case ignored */ {"01", "03", "02"},
        /* 3 ap_type */ {"01", "02", "03"},
        /* 4 work_mode */ {"01", "03", "02"},
        /* 5 ssid */ {"01", "02", "03"},
        /* 6 channel */ {"02", "03", "01"},
        /* 7 secure_mode */ {"01", "02", "03"},
        /* 8 tx_power */ {"02", "03", "01"},
        /* 9 version, as text */ {"02", "01", "03"},
        /* 10 bridge_transparent, tie in storing order */ {"01", "02", "03"},
        /* 11 tdmaEn, tie in storing order */ {"03", "02", "01"},
        /* 12 up_time */ {"01", "03", "02"},
        /* 13 ap_status */ {"02", "03", "01"},
    };
    for (int code = 0; code < 14; ++code)
    {
        std::vector<std::string> got;
        for (const std::string& mac : Page(code, 30, 1, true).macs)
            got.push_back(mac.substr(15));
        EXPECT_EQ(got, order[code]) << "sort code " << code;
    }
}

TEST_F(StoreQueries, PagedQueryGivesExactlyTheFullScansResults)
{
    // Many ties (few distinct channels and statuses) so that the order of equal rows matters.
    SaveDevices(95);
    for (int i = 0; i < 95; i += 4)
        ASSERT_TRUE(Store().SetDeviceStatus(TestMac(i), i % 8 == 0 ? kStatusOffline : kStatusRestarting));
    CFullScanDevicePage reference(Store().DatabasePath());
    for (int code = 0; code < 14; ++code)
        for (bool ascending : {true, false})
            for (const char* search : {"", "1", "device 2", "net-9"})
                for (int page = 1; page <= 5; ++page)
                {
                    std::vector<ap_info_stu> list;
                    int pageCount = 0;
                    int onlineCount = 0;
                    ASSERT_TRUE(
                        Store().QueryDevicePage(code, list, pageCount, onlineCount, 20, page, ascending, search));
                    const full_scan_page expected = reference.Query(code, 20, page, ascending, search);
                    ASSERT_TRUE(expected.ran);
                    const std::string where = "code " + std::to_string(code) + (ascending ? " asc" : " desc") +
                                              " search '" + search + "' page " + std::to_string(page);
                    EXPECT_EQ(pageCount, expected.pageCount) << where;
                    EXPECT_EQ(onlineCount, expected.onlineCount) << where;
                    ASSERT_EQ(list.size(), expected.rows.size()) << where;
                    for (size_t i = 0; i < list.size(); ++i)
                        EXPECT_EQ(std::memcmp(&list[i], &expected.rows[i], sizeof(ap_info_stu)), 0) << where;
                }
}

TEST_F(StoreQueries, SearchMatchesEachSearchedColumn)
{
    ap_info_stu station = TestDevice(1);
    station.config.work_mode = 2;
    station.config.secure_mode = 6;
    station.config.channel = 149;
    station.config.tx_power = 27;
    station.config.up_time = 86400 * 3 + 5;
    station.ap_type = 270;
    station.config.tdmaEn = 1;
    station.config.ap_name.Assign("Tower East");
    station.config.ssid.Assign("Backhaul");
    station.config.version.Assign("V7.7.7");
    SetIp(station, "172.16.5.44");
    ASSERT_TRUE(Store().SaveDeviceConfig(station));
    ASSERT_TRUE(Store().SaveDeviceConfig(TestDevice(2)));

    const std::vector<std::string> onlyStation = {TestMac(1)};
    for (const std::string& text : {std::string("tower"), std::string("16.5.4"), TestMac(1).substr(9),
                                    std::string("backh"), std::string("7.7.7"), WorkModeText(2), std::string("149"),
                                    ModelLabel(270), std::string("27"), SecurityText(6), UpTimeText(86400 * 3 + 5)})
        EXPECT_EQ(Search(text), onlyStation) << text;
    // Both: the TDMA text of a TDMA model, the transparent-bridge text, the status text.
    EXPECT_EQ(Search(StatusText(kStatusOnline)).size(), 2u);
}

TEST_F(StoreQueries, SearchForTheOnlineTextInTheCurrentLanguage)
{
    WriteTextFile(m_directory.Path() + "Languages/Language.ini", "[LCID]\n2052=Chinese\n");
    WriteTextFile(m_directory.Path() + "Languages/Chinese.lng", "[ProgramOutStr]\nonline=\xE5\x9C\xA8\xE7\xBA\xBF\n");
    InitLanguage(m_directory.Path(), 2052);
    ASSERT_EQ(StatusText(kStatusOnline), "\xE5\x9C\xA8\xE7\xBA\xBF");

    SaveDevices(4);
    ASSERT_TRUE(Store().SetDeviceStatus(TestMac(2), kStatusOffline));
    ASSERT_TRUE(Store().SetDeviceStatus(TestMac(3), kStatusRestarting));
    const page_result result = Page(0, 30, 1, true, StatusText(kStatusOnline));
    EXPECT_EQ(result.macs, (std::vector<std::string>{TestMac(0), TestMac(1)}));
    EXPECT_EQ(result.onlineCount, 2);
}

TEST_F(StoreQueries, SearchTextIsTakenLiterally)
{
    SaveNamed(1, "it's here");
    SaveNamed(2, "100% up");
    SaveNamed(3, "a_b");
    SaveNamed(4, "back\\slash");
    SaveNamed(5, "plain text");
    SaveNamed(6, "x' or '1'='1");
    struct Case
    {
        std::string text;
        std::vector<std::string> found;
    };
    const Case cases[] = {
        {"'", {TestMac(1), TestMac(6)}}, {"%", {TestMac(2)}},     {"_", {TestMac(3)}},           {"\\", {TestMac(4)}},
        {"a_b", {TestMac(3)}},           {"0%", {TestMac(2)}},    {"' or '1'='1", {TestMac(6)}}, {"%%", {}},
        {"it's", {TestMac(1)}},          {"PLAIN", {TestMac(5)}},
    };
    for (const Case& c : cases)
    {
        const page_result result = Page(2, 30, 1, true, c.text);
        EXPECT_TRUE(result.ran) << c.text;
        std::vector<std::string> macs = result.macs;
        std::sort(macs.begin(), macs.end());
        EXPECT_EQ(macs, c.found) << c.text;
    }
}

TEST_F(StoreQueries, DeviceByMac)
{
    SaveDevices(3);
    ap_info_stu record;
    ASSERT_TRUE(Store().GetDeviceByMac("", record));
    EXPECT_EQ(InfoMacText(record), TestMac(0));
    ASSERT_TRUE(Store().GetDeviceByMac(TestMac(2), record));
    EXPECT_EQ(InfoMacText(record), TestMac(2));
    EXPECT_EQ(record.config.ap_name.View(), "device 2");

    std::memset(&record, 0x33, sizeof(record));
    EXPECT_TRUE(Store().GetDeviceByMac("02:ff:ff:ff:ff:ff", record));
    const ap_info_stu zero{};
    EXPECT_EQ(std::memcmp(&record, &zero, sizeof(record)), 0);
    // A MAC written as SQL finds nothing.
    EXPECT_TRUE(Store().GetDeviceByMac("' or ''='", record));
    EXPECT_EQ(InfoMacText(record), "");
}

TEST_F(StoreQueries, AddressAndMacListsInStoringOrder)
{
    SaveDevices(3);
    std::vector<std::string> ips;
    std::vector<std::string> macs;
    ASSERT_TRUE(Store().ListDeviceIps(ips));
    ASSERT_TRUE(Store().ListDeviceMacs(macs));
    EXPECT_EQ(ips, (std::vector<std::string>{"10.0.0.1", "10.0.0.2", "10.0.0.3"}));
    EXPECT_EQ(macs, (std::vector<std::string>{TestMac(0), TestMac(1), TestMac(2)}));
}

TEST_F(StoreQueries, SurveyListSortsAndReadsEntries)
{
    ap_survey_info report;
    std::memset(&report, 0, sizeof(report));
    report.packet_count = 1;
    report.icount = 3;
    const struct
    {
        uint8_t last;
        int8_t signal;
        uint8_t channel;
        const char* ssid;
    } entries[] = {{3, -80, 6, "Bravo"}, {1, -45, 149, "charlie"}, {2, -90, 1, "alpha "}};
    for (int i = 0; i < 3; ++i)
    {
        config_otherwl_basic& e = report.entries[i];
        const uint8_t mac[6] = {0x02, 0xbb, 0, 0, 0, entries[i].last};
        std::memcpy(e.mac, mac, 6);
        e.signal = entries[i].signal;
        e.channel = entries[i].channel;
        e.ssid.Assign(entries[i].ssid);
    }
    ASSERT_TRUE(Store().SaveSurveyReport(report));

    const auto order = [this](int code, bool ascending)
    {
        std::vector<config_otherwl_basic> list;
        EXPECT_TRUE(Store().QuerySurveyList(code, ascending, list));
        std::vector<int> lasts;
        for (const config_otherwl_basic& e : list)
            lasts.push_back(e.mac[5]);
        return lasts;
    };
    EXPECT_EQ(order(0, true), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(order(1, true), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(order(2, false), (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(order(4, false), (std::vector<int>{1, 3, 2}));

    std::vector<config_otherwl_basic> list;
    EXPECT_FALSE(Store().QuerySurveyList(5, true, list));
    EXPECT_FALSE(Store().QuerySurveyList(-1, true, list));
    EXPECT_TRUE(list.empty());

    config_otherwl_basic entry;
    ASSERT_TRUE(Store().GetSurveyEntry("02:bb:00:00:00:02", entry));
    EXPECT_EQ(entry.ssid.View(), "alpha ");
    EXPECT_EQ(entry.signal, -90);
    ASSERT_TRUE(Store().GetSurveyEntry("02:bb:00:00:00:09", entry));
    EXPECT_EQ(entry.ssid.len, 0);
    EXPECT_EQ(entry.mac[1], 0);
}

TEST_F(StoreQueries, BridgePartners)
{
    // An AP whose wireless MAC two stations are bridged to, and a station bridged to nothing stored.
    const auto save = [this](int number, uint8_t workMode, int bridgedTo)
    {
        ap_info_stu device = TestDevice(number);
        device.config.work_mode = workMode;
        if (bridgedTo >= 0)
        {
            const MacBytes bridge = MacTextToBytes(TestMac(bridgedTo + 0x800000));
            std::copy(bridge.begin(), bridge.end(), device.config.bridge_mac);
        }
        ASSERT_TRUE(Store().SaveDeviceConfig(device));
    };
    save(1, 1, -1);
    save(2, 2, 1);
    save(3, 2, 1);
    save(4, 2, 40);
    save(5, 1, -1);

    std::string peer = "unchanged";
    EXPECT_TRUE(Store().FindBridgePeer(TestMac(2), peer));
    EXPECT_EQ(peer, TestMac(1));
    EXPECT_TRUE(Store().FindBridgePeer(TestMac(1), peer));
    EXPECT_EQ(peer, TestMac(2));

    peer = "unchanged";
    EXPECT_FALSE(Store().FindBridgePeer(TestMac(4), peer));
    EXPECT_FALSE(Store().FindBridgePeer(TestMac(5), peer));
    EXPECT_FALSE(Store().FindBridgePeer(TestMac(99), peer));
    EXPECT_EQ(peer, "unchanged");

    EXPECT_TRUE(Store().HasBridgedStations(TestMac(1)));
    EXPECT_FALSE(Store().HasBridgedStations(TestMac(5)));
    EXPECT_FALSE(Store().HasBridgedStations(TestMac(99)));
}

TEST(StoreUnusable, EveryOperationFailsAndChangesNothing)
{
    setlocale(LC_ALL, "C.UTF-8");
    CTempDir directory;
    std::filesystem::create_directory(directory.Path() + "data.mdb");
    CSqlManagement store(directory.Path());
    ASSERT_FALSE(store.IsUsable());

    ap_info_stu record = TestDevice(1);
    EXPECT_FALSE(store.SaveDeviceConfig(record));
    ap_survey_info report{};
    report.icount = 1;
    EXPECT_TRUE(store.SaveSurveyReport(report));
    EXPECT_FALSE(store.UpdateHeartbeat(TestMac(1), "10.0.0.1", 1));
    EXPECT_FALSE(store.SetDeviceStatus(TestMac(1), 1));
    EXPECT_FALSE(store.MarkUpgradeStarted(TestMac(1)));
    EXPECT_FALSE(store.ClearUpgradeFailure(TestMac(1)));
    EXPECT_FALSE(store.DeleteDevice(TestMac(1)));
    EXPECT_FALSE(store.ClearSurveyTable());

    std::vector<ap_info_stu> list;
    int pageCount = 5;
    int onlineCount = 6;
    EXPECT_FALSE(store.QueryDevicePage(0, list, pageCount, onlineCount, 30, 1, true, ""));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(pageCount, 5);
    EXPECT_EQ(onlineCount, 6);
    EXPECT_FALSE(store.GetDeviceByMac(TestMac(1), record));
    EXPECT_EQ(record.ap_type, 0);
    std::vector<std::string> texts;
    EXPECT_FALSE(store.ListDeviceIps(texts));
    EXPECT_FALSE(store.ListDeviceMacs(texts));
    std::vector<config_otherwl_basic> survey;
    EXPECT_FALSE(store.QuerySurveyList(0, true, survey));
    config_otherwl_basic entry;
    EXPECT_FALSE(store.GetSurveyEntry(TestMac(1), entry));
    EXPECT_EQ(store.GetDeviceStatus(TestMac(1)), 0);
    EXPECT_FALSE(store.IsUpgradeWaiting(TestMac(1)));
    EXPECT_FALSE(store.HasBridgedStations(TestMac(1)));
    std::string peer = "kept";
    EXPECT_FALSE(store.FindBridgePeer(TestMac(1), peer));
    EXPECT_EQ(peer, "kept");
    EXPECT_TRUE(texts.empty());
}
