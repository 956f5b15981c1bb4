#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/display_values.h"
#include "store/sql_management.h"
#include "unit/store/store_test_support.h"

namespace
{

class StoreWrites : public StoreTest
{
};

// Every field of the record holds a value of its own; texts are plain and fill part of their field.
ap_info_stu DistinctRecord()
{
    ap_info_stu record;
    std::memset(&record, 0, sizeof(record));
    auto* bytes = reinterpret_cast<uint8_t*>(&record.config);
    for (size_t i = 0; i < sizeof(record.config); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    SetInfoMacText(record, "0a:1b:2c:3d:4e:5f");
    record.ap_type = 265;
    record.ap_status = 0;
    ap_config_info& c = record.config;
    c.work_mode = 2;
    c.secure_mode = 3;
    c.up_time = 3000000000u;
    c.wpapsk_key_time = 4000000000u;
    c.ap_name.Assign("Roof North \xE5\x8C\x97");
    c.version.Assign("V2.3.1 build 77");
    c.ssid.Assign(" spaced ssid ");
    c.wpapsk_key_value.Assign(std::string(63, 'k') + " ");
    c.wep_key_value0.Assign("0123456789abcdef0123456789");
    c.wep_key_value1.Assign("k1");
    c.wep_key_value2.Assign("");
    c.wep_key_value3.Assign("key three");
    c.wpa_key.Assign("radius secret");
    c.bridge_ssid.Assign("bridge");
    return record;
}

// What a read gives back for a stored record: online, the model code in both places, unread
// bytes and the bridge fields zero.
ap_info_stu AsRead(const ap_info_stu& stored)
{
    ap_info_stu expected = stored;
    ap_config_info& c = expected.config;
    expected.ap_status = kStatusOnline;
    c.ap_type = expected.ap_type;
    c.unread_29 = 0;
    std::memset(c.unread_111, 0, sizeof(c.unread_111));
    c.unread_349 = 0;
    c.unread_427 = 0;
    c.bridge_work_mode = 0;
    std::memset(c.bridge_mac, 0, sizeof(c.bridge_mac));
    c.bridge_channel = 0;
    std::memset(&c.bridge_ssid, 0, sizeof(c.bridge_ssid));
    std::memset(c.unread_469, 0, sizeof(c.unread_469));
    c.unread_733 = 0;
    std::memset(c.unread_740, 0, sizeof(c.unread_740));
    std::memset(c.unread_750, 0, sizeof(c.unread_750));
    c.unread_755 = 0;
    return expected;
}

ap_survey_info Survey(uint8_t packetCount, uint8_t packetId, const std::vector<config_otherwl_basic>& entries)
{
    ap_survey_info report;
    std::memset(&report, 0, sizeof(report));
    report.packet_count = packetCount;
    report.packet_id = packetId;
    report.icount = static_cast<uint8_t>(entries.size());
    for (size_t i = 0; i < entries.size() && i < kSurveyMaxEntries; ++i)
        report.entries[i] = entries[i];
    return report;
}

config_otherwl_basic SurveyEntry(uint8_t last, int8_t signal, const std::string& ssid)
{
    config_otherwl_basic entry;
    std::memset(&entry, 0, sizeof(entry));
    const uint8_t mac[6] = {0x02, 0xaa, 0, 0, 0, last};
    std::memcpy(entry.mac, mac, sizeof(mac));
    entry.signal = signal;
    entry.channel = 36;
    entry.secure_mode = 2;
    entry.ssid.Assign(ssid);
    entry.exchannel = 1;
    entry.bandwidth = 2;
    return entry;
}

} // namespace

TEST_F(StoreWrites, DeviceRecordRoundTripsThroughItsRow)
{
    const ap_info_stu stored = DistinctRecord();
    ASSERT_TRUE(Store().SaveDeviceConfig(stored));

    ap_info_stu read;
    ASSERT_TRUE(Store().GetDeviceByMac("0a:1b:2c:3d:4e:5f", read));
    const ap_info_stu expected = AsRead(stored);
    const auto* got = reinterpret_cast<const uint8_t*>(&read);
    const auto* want = reinterpret_cast<const uint8_t*>(&expected);
    for (size_t i = 0; i < sizeof(ap_info_stu); ++i)
        ASSERT_EQ(got[i], want[i]) << "first difference at byte " << i;

    // The columns as the file holds them: texts as UTF-8, display texts of the codes.
    const std::string mac = "0a:1b:2c:3d:4e:5f";
    EXPECT_EQ(RawColumn(mac, "ap_name"), "Roof North \xE5\x8C\x97");
    EXPECT_EQ(RawColumn(mac, "ap_type_str"), ModelLabel(265));
    EXPECT_EQ(RawColumn(mac, "ap_status_str"), StatusText(kStatusOnline));
    EXPECT_EQ(RawColumn(mac, "work_mode_str"), WorkModeText(2));
    EXPECT_EQ(RawColumn(mac, "secure_mode_str"), SecurityText(3));
    EXPECT_EQ(RawColumn(mac, "up_time_str"), UpTimeText(3000000000u));
    EXPECT_EQ(RawColumn(mac, "bridge_transparent_str"),
              TransparentBridgeText(265, 2, stored.config.bridge_transparent));
    EXPECT_EQ(RawColumn(mac, "tdmaEn_str"), TdmaText(265, stored.config.tdmaEn));
    EXPECT_EQ(RawColumn(mac, "ip"), IpBytesToText(stored.config.ip));
    EXPECT_EQ(RawColumn(mac, "ssid_mac"), MacBytesToText(stored.config.ssid_mac));
    EXPECT_EQ(RawColumn(mac, "bridge_mac"), MacBytesToText(stored.config.bridge_mac));
    EXPECT_EQ(RawColumn(mac, "bridge_ssid"), "bridge");
    EXPECT_EQ(RawColumn(mac, "wpapsk_key_time"), "4000000000");
}

TEST_F(StoreWrites, ReadsTrimNamesButKeepSecretsAndSsidsExact)
{
    ap_info_stu device = TestDevice(1);
    device.config.ap_name.Assign("  padded name \t");
    device.config.ssid.Assign(" ssid ");
    device.config.wpa_key.Assign(" pass phrase ");
    ASSERT_TRUE(Store().SaveDeviceConfig(device));
    ap_info_stu read;
    ASSERT_TRUE(Store().GetDeviceByMac(TestMac(1), read));
    EXPECT_EQ(read.config.ap_name.View(), "padded name");
    EXPECT_EQ(read.config.ssid.View(), " ssid ");
    EXPECT_EQ(read.config.wpa_key.View(), " pass phrase ");
}

TEST_F(StoreWrites, TextLengthsAreCutToTheirFields)
{
    struct Case
    {
        const char* what;
        void (*set)(ap_config_info& config);
        const char* column;
        std::string stored;
    };
    const Case cases[] = {
        {"name whose length byte says 40",
         [](ap_config_info& c)
         {
             std::memset(c.ap_name.text, 'n', sizeof(c.ap_name.text));
             c.ap_name.len = 40;
         },
         "ap_name", std::string(32, 'n')},
        {"name with a zero byte at position 5",
         [](ap_config_info& c)
         {
             std::memcpy(c.ap_name.text, "abcde\0ghij", 10);
             c.ap_name.len = 10;
         },
         "ap_name", "abcde"},
        {"WEP key whose length byte says 200",
         [](ap_config_info& c)
         {
             std::memset(c.wep_key_value2.text, 'w', sizeof(c.wep_key_value2.text));
             c.wep_key_value2.len = 200;
         },
         "wep_key_value2", std::string(26, 'w')},
        {"PSK whose length byte says 255",
         [](ap_config_info& c)
         {
             std::memset(c.wpapsk_key_value.text, 'p', sizeof(c.wpapsk_key_value.text));
             c.wpapsk_key_value.len = 255;
         },
         "wpapsk_key_value", std::string(64, 'p')},
        {"version of length 0", [](ap_config_info& c) { c.version.len = 0; }, "version", ""},
    };
    for (const Case& c : cases)
    {
        ap_info_stu device = TestDevice(7);
        c.set(device.config);
        ASSERT_TRUE(Store().SaveDeviceConfig(device)) << c.what;
        EXPECT_EQ(RawColumn(TestMac(7), c.column), c.stored) << c.what;
        ap_info_stu read;
        ASSERT_TRUE(Store().GetDeviceByMac(TestMac(7), read));
        EXPECT_EQ(RowCount("ap_info"), 1) << c.what;
    }
    ap_info_stu read;
    ASSERT_TRUE(Store().GetDeviceByMac(TestMac(7), read));
    EXPECT_EQ(read.config.version.len, 0);
}

TEST_F(StoreWrites, IpNumberIsTheUnsignedAddress)
{
    struct Case
    {
        const char* ip;
        const char* number;
    };
    const Case cases[] = {
        {"192.168.0.1", "3232235521.0"},
        {"128.0.0.0", "2147483648.0"},
        {"255.255.255.255", "4294967295.0"},
        {"10.0.0.1", "167772161.0"},
    };
    for (const Case& c : cases)
    {
        ap_info_stu device = TestDevice(3);
        SetIp(device, c.ip);
        ASSERT_TRUE(Store().SaveDeviceConfig(device));
        EXPECT_EQ(RawColumn(TestMac(3), "ip_num"), c.number) << c.ip;
        EXPECT_EQ(RawColumn(TestMac(3), "ip"), c.ip);
    }
    ASSERT_TRUE(Store().UpdateHeartbeat(TestMac(3), "200.1.2.3", 5));
    EXPECT_EQ(RawColumn(TestMac(3), "ip_num"), "3355509251.0");
}

TEST_F(StoreWrites, ConfigurationOfAKnownMacReplacesItsRowAndSetsItOnline)
{
    ap_info_stu device = TestDevice(5);
    ASSERT_TRUE(Store().SaveDeviceConfig(device));
    ASSERT_TRUE(Store().SetDeviceStatus(TestMac(5), kStatusUpgrading));
    EXPECT_EQ(Store().GetDeviceStatus(TestMac(5)), kStatusUpgrading);

    device.ap_status = kStatusUpgrading;
    device.config.ap_name.Assign("renamed");
    ASSERT_TRUE(Store().SaveDeviceConfig(device));
    EXPECT_EQ(RowCount("ap_info"), 1);
    EXPECT_EQ(Store().GetDeviceStatus(TestMac(5)), kStatusOnline);
    EXPECT_EQ(RawColumn(TestMac(5), "ap_status_str"), StatusText(kStatusOnline));
    EXPECT_EQ(RawColumn(TestMac(5), "ap_name"), "renamed");
}

TEST_F(StoreWrites, UpdateOnlyWritesOfAMissingRowCreateNothing)
{
    ASSERT_TRUE(Store().SaveDeviceConfig(TestDevice(1)));
    const std::string missing = TestMac(2);
    EXPECT_FALSE(Store().UpdateHeartbeat(missing, "10.0.0.50", 10));
    EXPECT_FALSE(Store().SetDeviceStatus(missing, kStatusRestarting));
    EXPECT_FALSE(Store().MarkUpgradeStarted(missing));
    EXPECT_FALSE(Store().ClearUpgradeFailure(missing));
    EXPECT_EQ(RowCount("ap_info"), 1);
    EXPECT_EQ(Store().GetDeviceStatus(missing), 0);
}

TEST_F(StoreWrites, HeartbeatSetsUpTimeAndAddressOnly)
{
    ASSERT_TRUE(Store().SaveDeviceConfig(TestDevice(4)));
    ASSERT_TRUE(Store().SetDeviceStatus(TestMac(4), kStatusRestarting));
    ASSERT_TRUE(Store().UpdateHeartbeat(TestMac(4), "10.9.8.7", 86400 + 3661));
    ap_info_stu read;
    ASSERT_TRUE(Store().GetDeviceByMac(TestMac(4), read));
    EXPECT_EQ(read.config.up_time, 86400u + 3661u);
    EXPECT_EQ(IpBytesToText(read.config.ip), "10.9.8.7");
    EXPECT_EQ(RawColumn(TestMac(4), "up_time_str"), UpTimeText(86400 + 3661));
    EXPECT_EQ(read.ap_status, kStatusRestarting);
    EXPECT_EQ(read.config.ap_name.View(), "device 4");
}

TEST_F(StoreWrites, UpgradeTransitionsMoveOnlyFromTheirStatus)
{
    struct Case
    {
        int from;
        bool (CSqlManagement::*write)(const std::string&);
        bool result;
        int to;
    };
    const Case cases[] = {
        {kStatusOnline, &CSqlManagement::MarkUpgradeStarted, false, kStatusOnline},
        {kStatusUpgradeWait, &CSqlManagement::MarkUpgradeStarted, true, kStatusUpgrading},
        {kStatusUpgradeFail, &CSqlManagement::MarkUpgradeStarted, false, kStatusUpgradeFail},
        {kStatusUpgradeFail, &CSqlManagement::ClearUpgradeFailure, true, kStatusOnline},
        {kStatusUpgrading, &CSqlManagement::ClearUpgradeFailure, false, kStatusUpgrading},
        {kStatusOnline, &CSqlManagement::ClearUpgradeFailure, false, kStatusOnline},
    };
    ASSERT_TRUE(Store().SaveDeviceConfig(TestDevice(9)));
    for (const Case& c : cases)
    {
        ASSERT_TRUE(Store().SetDeviceStatus(TestMac(9), c.from));
        EXPECT_EQ((Store().*c.write)(TestMac(9)), c.result) << c.from << " -> " << c.to;
        EXPECT_EQ(Store().GetDeviceStatus(TestMac(9)), c.to) << c.from;
        EXPECT_EQ(RawColumn(TestMac(9), "ap_status_str"), StatusText(c.to)) << c.from;
        EXPECT_EQ(Store().IsUpgradeWaiting(TestMac(9)), c.to == kStatusUpgradeWait);
    }
}

TEST_F(StoreWrites, DeleteDeviceRemovesOnlyItsRow)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(Store().SaveDeviceConfig(TestDevice(i)));
    EXPECT_TRUE(Store().DeleteDevice(TestMac(1)));
    EXPECT_TRUE(Store().DeleteDevice(TestMac(1)));
    std::vector<std::string> macs;
    ASSERT_TRUE(Store().ListDeviceMacs(macs));
    EXPECT_EQ(macs, (std::vector<std::string>{TestMac(0), TestMac(2)}));
}

TEST_F(StoreWrites, SurveyAccessPointReportedTwiceKeepsOneRowWithTheLatestValues)
{
    // Twice in one datagram, then again in a later survey.
    ASSERT_TRUE(Store().SaveSurveyReport(
        Survey(2, 0, {SurveyEntry(1, -70, "first"), SurveyEntry(2, -60, "other"), SurveyEntry(1, -65, "second")})));
    EXPECT_EQ(RowCount("ap_other_info"), 2);
    config_otherwl_basic entry;
    ASSERT_TRUE(Store().GetSurveyEntry("02:aa:00:00:00:01", entry));
    EXPECT_EQ(entry.signal, -65);
    EXPECT_EQ(entry.ssid.View(), "second");

    ASSERT_TRUE(Store().SaveSurveyReport(Survey(1, 0, {SurveyEntry(1, -40, "third")})));
    EXPECT_EQ(RowCount("ap_other_info"), 2);
    ASSERT_TRUE(Store().GetSurveyEntry("02:aa:00:00:00:01", entry));
    EXPECT_EQ(entry.signal, -40);
    EXPECT_EQ(entry.ssid.View(), "third");
    EXPECT_EQ(RawColumn("02:aa:00:00:00:01", "signal", "ap_other_info"), "-40");
    EXPECT_EQ(RawColumn("02:aa:00:00:00:01", "packet_count", "ap_other_info"), "1");
    EXPECT_EQ(entry.channel, 36);
    EXPECT_EQ(entry.secure_mode, 2);
    EXPECT_EQ(entry.exchannel, 1);
    EXPECT_EQ(entry.bandwidth, 2);
}

TEST_F(StoreWrites, SurveyDatagramEdges)
{
    EXPECT_TRUE(Store().SaveSurveyReport(Survey(1, 0, {})));
    EXPECT_EQ(RowCount("ap_other_info"), 0);

    // A count beyond the record's 32 entries reads only those.
    ap_survey_info full = Survey(1, 0, {});
    for (size_t i = 0; i < kSurveyMaxEntries; ++i)
        full.entries[i] = SurveyEntry(static_cast<uint8_t>(i), -50, "ap");
    full.icount = 200;
    EXPECT_TRUE(Store().SaveSurveyReport(full));
    EXPECT_EQ(RowCount("ap_other_info"), 32);

    EXPECT_TRUE(Store().ClearSurveyTable());
    EXPECT_EQ(RowCount("ap_other_info"), 0);
}
