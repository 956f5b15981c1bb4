#include <cstring>

#include <gtest/gtest.h>

#include "link/address_text.h"
#include "link/config_info.h"
#include "link/device_reports.h"
#include "link/socket_address.h"
#include "link/survey_info.h"

namespace
{

const MacBytes kDeviceMac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};

ap_packet_info Receive(const std::vector<uint8_t>& datagram, ApChannel channel = ApChannel::Replies)
{
    const std::optional<ap_packet_info> packet =
        DecodePacket(datagram, channel, ParseSocketAddress("10.77.3.4", 9788).value());
    EXPECT_TRUE(packet);
    return packet.value_or(ap_packet_info{});
}

std::vector<uint8_t> DeviceDatagram(uint16_t msgType, std::span<const uint8_t> payload)
{
    return EncodeDevicePacket(7, msgType, kDeviceMac, payload).value();
}

// Every field with a value of its own, so a field read from the wrong place shows.
ap_config_info DistinctConfig()
{
    ap_config_info c;
    std::memset(&c, 0, sizeof(c));
    c.work_mode = 2;
    c.mode_btn_status = 3;
    c.ap_type = 0x0111;
    c.up_time = 0x0A0B0C0D;
    c.ip_mode = 4;
    const uint8_t ip[4] = {10, 77, 3, 4}, mask[4] = {255, 255, 0, 0}, gateway[4] = {10, 77, 0, 1},
                  dns1[4] = {10, 77, 0, 53}, dns2[4] = {10, 77, 0, 54};
    std::memcpy(c.ip, ip, 4);
    std::memcpy(c.ip_mask, mask, 4);
    std::memcpy(c.ip_gateway, gateway, 4);
    std::memcpy(c.ip_dns1, dns1, 4);
    std::memcpy(c.ip_dns2, dns2, 4);
    c.ap_name.Assign("Roof-North");
    c.version.Assign("V2.1.7 build 4410");
    c.restart_en = 1;
    c.restart_type = 5;
    c.restart_time = 0x1E0F;
    c.rf_count = 6;
    c.rf_en = 7;
    c.rf_type = 8;
    c.country_code = 9;
    c.network_mode = 10;
    c.bandwidth = 11;
    c.channel = 149;
    c.expand_channel = 12;
    c.tx_power = 23;
    c.tx_power_min = 13;
    c.tx_power_max = 27;
    c.ssid_rf_type = 14;
    c.ssid_id = 15;
    c.ssid_hide = 16;
    const uint8_t ssidMac[6] = {0x02, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E};
    std::memcpy(c.ssid_mac, ssidMac, 6);
    c.ssid.Assign("field-link-5g");
    c.secure_mode = 3;
    c.wpapsk_auth_type = 17;
    c.wpapsk_key_value.Assign(std::string(64, 'k'));
    c.wpapsk_key_time = 0x00015F90;
    c.wep_auth_type = 18;
    c.wep_key_index = 3;
    c.wep_key_type0 = 19;
    c.wep_key_value0.Assign("0123456789");
    c.wep_key_type1 = 20;
    c.wep_key_value1.Assign("abcde");
    c.wep_key_type2 = 21;
    c.wep_key_value2.Assign("abcdef0123456789abcdef0123");
    c.wep_key_type3 = 22;
    c.wep_key_value3.Assign("13charsecret!");
    const uint8_t radius[4] = {10, 77, 0, 2};
    std::memcpy(c.wpa_radius_ip, radius, 4);
    c.wpa_radius_port = 1812;
    c.wpa_auth_type = 24;
    c.wpa_key.Assign("radius-shared-secret");
    c.wpa_key_time = 0x01020304;
    c.ssid_count = 25;
    c.bridge_work_mode = 26;
    const uint8_t bridgeMac[6] = {0x02, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F};
    std::memcpy(c.bridge_mac, bridgeMac, 6);
    c.bridge_channel = 36;
    c.bridge_ssid.Assign("peer-ap");
    c.vlan_en = 1;
    c.vlan_id = 0x0FA1;
    c.vlan_id_wlan = 0x0FA2;
    c.vlan_id_lan = 0x0FA3;
    c.bridge_transparent = 27;
    c.tdmaEn = 28;
    c.vlan_pvid = 0x0FA4;
    c.vlan_id_lan3 = 0x0FA5;
    c.vlan_id_lan4 = 0x0FA6;
    c.wl_dfs = 29;
    return c;
}

} // namespace

TEST(ConfigRecord, RoundTripThroughEncodeAndDecodeKeepsEveryField)
{
    const ap_config_info sent = DistinctConfig();
    const std::vector<uint8_t> datagram = DeviceDatagram(kMsgConfigQuery, RecordBytes(sent));
    ASSERT_EQ(datagram.size(), 16u + 756u);

    // Spot the wire offsets independently of the struct: little-endian numbers, address bytes in order.
    struct WireField
    {
        size_t offset;
        std::vector<uint8_t> bytes;
    };
    const WireField wire[] = {
        {2, {0x11, 0x01}},
        {4, {0x0D, 0x0C, 0x0B, 0x0A}},
        {9, {10, 77, 3, 4}},
        {25, {10, 77, 0, 54}},
        {30, {'R', 'o', 'o', 'f'}},
        {62, {10}},
        {95, {17}},
        {98, {0x0F, 0x1E}},
        {106, {149}},
        {110, {27}},
        {125, {0x02, 0x0A}},
        {163, {13}},
        {230, {64}},
        {231, {0x90, 0x5F, 0x01, 0x00}},
        {236, {3}},
        {238, {'0', '1'}},
        {322, {'1', '3'}},
        {348, {13}},
        {350, {10, 77, 0, 2}},
        {354, {0x14, 0x07}},
        {422, {0x04, 0x03, 0x02, 0x01}},
        {429, {0x02, 0x1B}},
        {436, {'p', 'e', 'e', 'r'}},
        {734, {0xA1, 0x0F, 0xA2, 0x0F, 0xA3, 0x0F}},
        {742, {27, 28, 0xA4, 0x0F, 0xA5, 0x0F, 0xA6, 0x0F}},
        {754, {29}},
    };
    for (const WireField& field : wire)
        EXPECT_TRUE(std::equal(field.bytes.begin(), field.bytes.end(), datagram.begin() + 16 + field.offset))
            << "offset " << field.offset;

    const ap_config_info received = ReadConfigInfo(Receive(datagram));
    EXPECT_EQ(std::memcmp(&received, &sent, sizeof(sent)), 0);
    EXPECT_EQ(received.ap_name.Str(), "Roof-North");
    EXPECT_EQ(received.version.Str(), "V2.1.7 build 4410");
    EXPECT_EQ(received.wpapsk_key_time, 90000u);
    EXPECT_EQ(received.wpa_radius_port, 1812);
    EXPECT_EQ(received.vlan_id_lan4, 0x0FA6);
    EXPECT_EQ(IpBytesToText(received.ip_gateway), "10.77.0.1");
    EXPECT_EQ(MacBytesToText(received.bridge_mac), "02:1b:1c:1d:1e:1f");
}

TEST(ConfigRecord, ReadsTheClaimedLengthAndNeverMoreThanTheRecord)
{
    std::vector<uint8_t> payload(kApPayloadMaxSize, 0x77);
    std::vector<uint8_t> datagram = DeviceDatagram(kMsgConfigQuery, payload);

    // A claim beyond the record: exactly the record's 756 bytes.
    ap_config_info whole = ReadConfigInfo(Receive(datagram));
    const std::span<const uint8_t> wholeBytes = RecordBytes(whole);
    EXPECT_TRUE(std::all_of(wholeBytes.begin(), wholeBytes.end(), [](uint8_t b) { return b == 0x77; }));

    // A short claim: its bytes, zero beyond, whatever else the datagram held.
    datagram[14] = 100;
    datagram[15] = 0;
    const ap_config_info shortened = ReadConfigInfo(Receive(datagram));
    const std::span<const uint8_t> bytes = RecordBytes(shortened);
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.begin() + 100, [](uint8_t b) { return b == 0x77; }));
    EXPECT_TRUE(std::all_of(bytes.begin() + 100, bytes.end(), [](uint8_t b) { return b == 0; }));

    // A datagram shorter than its claim: the missing bytes read as zero.
    std::vector<uint8_t> cut = DeviceDatagram(kMsgConfigQuery, std::vector<uint8_t>(50, 0x33));
    cut[14] = 0xF4;
    cut[15] = 0x02;
    const ap_config_info partial = ReadConfigInfo(Receive(cut));
    EXPECT_EQ(partial.ap_name.text[0], 0x33);
    EXPECT_EQ(partial.ap_name.len, 0) << "offset 62 lies beyond the 50 received bytes";
    EXPECT_EQ(partial.wl_dfs, 0);
}

TEST(ConfigRecord, BlocksAndRowRecord)
{
    const ap_config_info original = DistinctConfig();
    ap_config_info changed = original;
    changed.unread_29 = 0x40;
    changed.restart_time = 0x0102;
    EXPECT_TRUE(ConfigBlockDiffers(original, changed, kConfigIpBlock)) << "the IP block carries offset 29";
    EXPECT_TRUE(ConfigBlockDiffers(original, changed, kConfigRebootBlock));
    EXPECT_FALSE(ConfigBlockDiffers(original, changed, kConfigNameBlock));
    EXPECT_FALSE(ConfigBlockDiffers(original, changed, kConfigWirelessBlock));
    EXPECT_FALSE(ConfigBlockDiffers(original, changed, kConfigVlanBlock));
    const std::span<const uint8_t> name = ConfigBlockBytes(original, kConfigNameBlock);
    ASSERT_EQ(name.size(), 33u);
    EXPECT_EQ(name[0], 'R');
    EXPECT_EQ(name[32], 10);

    ap_info_stu row;
    std::memset(&row, 0xEE, sizeof(row));
    SetInfoMacText(row, "00:1a:2b:3c:4d:5e");
    EXPECT_EQ(InfoMacText(row), "00:1a:2b:3c:4d:5e");
    EXPECT_EQ(row.mac[17], '\0');
    SetInfoMacText(row, "00:1a:2b:3c:4d:5e:ff:ff");
    EXPECT_EQ(InfoMacText(row), "00:1a:2b:3c:4d:5e") << "cut to 17 characters, still terminated";
    std::memset(row.mac, 'x', sizeof(row.mac));
    EXPECT_EQ(InfoMacText(row).size(), 17u) << "an unterminated MAC is read no further than its 18 bytes";
}

TEST(TextField, LengthByteBeyondTheArrayReadsAsTheArray)
{
    ap_text_field<32> field;
    field.Assign(std::string(40, 'n'));
    EXPECT_EQ(field.len, 32);
    EXPECT_EQ(field.Str(), std::string(32, 'n'));
    field.Assign("ab");
    EXPECT_EQ(field.Str(), "ab");
    EXPECT_EQ(field.text[2], 0) << "the rest of the array is zero";
    field.len = 200;
    EXPECT_EQ(field.View().size(), 32u);
}

TEST(DiscoverReport, VersionOnlyReportsAndFullReports)
{
    ap_discover_info sent;
    std::memset(&sent, 0, sizeof(sent));
    sent.version.Assign("V1.0.3");
    sent.work_mode = 2;
    sent.mode_btn_status = 1;
    sent.up_time = 3725;
    sent.ap_name.Assign("Mast-3");
    sent.ssid.Assign("yard");
    sent.channel = 44;
    sent.bridge_transparent = 1;
    sent.tdmaEn = 1;
    const std::span<const uint8_t> bytes = RecordBytes(sent);

    const ap_discover_info full =
        ReadDiscoverInfo(Receive(DeviceDatagram(kMsgDiscover, bytes), ApChannel::DiscoverReports));
    EXPECT_EQ(std::memcmp(&full, &sent, sizeof(sent)), 0);
    EXPECT_EQ(full.up_time, 3725u);
    EXPECT_EQ(full.ssid.Str(), "yard");

    // The whole report travels, but the claim says 33: only the version block counts.
    std::vector<uint8_t> versionOnly = DeviceDatagram(kMsgDiscover, bytes);
    versionOnly[14] = 33;
    const ap_discover_info version = ReadDiscoverInfo(Receive(versionOnly, ApChannel::DiscoverReports));
    EXPECT_EQ(version.version.Str(), "V1.0.3");
    EXPECT_EQ(version.work_mode, 0);
    EXPECT_EQ(version.up_time, 0u);
    EXPECT_EQ(version.ap_name.len, 0);
    EXPECT_EQ(version.tdmaEn, 0);

    // A claim of 34 is a discover report.
    versionOnly[14] = 34;
    EXPECT_EQ(ReadDiscoverInfo(Receive(versionOnly, ApChannel::DiscoverReports)).tdmaEn, 1);

    // More payload than the record: the record's 112 bytes only.
    std::vector<uint8_t> oversize(bytes.begin(), bytes.end());
    oversize.resize(1000, 0xFF);
    const ap_discover_info cut =
        ReadDiscoverInfo(Receive(DeviceDatagram(kMsgDiscover, oversize), ApChannel::DiscoverReports));
    EXPECT_EQ(std::memcmp(&cut, &sent, sizeof(sent)), 0);
}

TEST(Heartbeat, FieldsAndBareHeartbeat)
{
    ap_heartbeat_info sent;
    std::memset(&sent, 0, sizeof(sent));
    sent.version.Assign("V1.0.4");
    sent.up_time = 86400 + 3661;
    const ap_heartbeat_info beat =
        ReadHeartbeatInfo(Receive(DeviceDatagram(kMsgHeartbeat, RecordBytes(sent)), ApChannel::Heartbeats));
    EXPECT_EQ(beat.version.Str(), "V1.0.4");
    EXPECT_EQ(beat.up_time, 90061u);

    const ap_heartbeat_info bare = ReadHeartbeatInfo(Receive(DeviceDatagram(kMsgHeartbeat, {}), ApChannel::Heartbeats));
    EXPECT_EQ(bare.version.len, 0);
    EXPECT_EQ(bare.up_time, 0u);
}

namespace
{

config_otherwl_basic SurveyEntry(uint8_t index)
{
    config_otherwl_basic entry;
    std::memset(&entry, 0, sizeof(entry));
    const uint8_t mac[6] = {0x02, 0, 0, 0, 0, index};
    std::memcpy(entry.mac, mac, 6);
    entry.signal = static_cast<int8_t>(-40 - index);
    entry.channel = static_cast<uint8_t>(index + 1);
    entry.secure_mode = 3;
    entry.ssid.Assign("ap-" + std::to_string(index));
    entry.exchannel = 1;
    entry.bandwidth = 2;
    return entry;
}

// A survey datagram that claims icount entries and carries `sent` of them, plus `extra` stray bytes.
std::vector<uint8_t> SurveyDatagram(uint8_t icount, size_t sent, size_t extra = 0)
{
    std::vector<uint8_t> payload = {1, 0, icount};
    for (size_t i = 0; i < sent; ++i)
    {
        const config_otherwl_basic entry = SurveyEntry(static_cast<uint8_t>(i));
        const std::span<const uint8_t> bytes = RecordBytes(entry);
        payload.insert(payload.end(), bytes.begin(), bytes.end());
    }
    payload.resize(payload.size() + extra, 0xAB);
    return DeviceDatagram(kMsgSearchAp, payload);
}

} // namespace

TEST(SurveyReport, YieldsOnlyTheEntriesThatReallyArrived)
{
    struct Case
    {
        uint8_t icount;
        size_t sent;
        size_t extra;
        size_t expected;
    };
    const Case cases[] = {
        {2, 2, 0, 2},                   // as claimed
        {0, 2, 0, 0},                   // entries beyond icount are ignored
        {33, 33, 0, 32},                // 33 entries fit in a datagram, the record holds 32
        {255, 32, 0, 32}, {5, 3, 0, 3}, // icount beyond what the datagram holds
        {5, 3, 43, 3},                  // a partial entry is not an entry
        {5, 3, 44, 4},                  // 44 stray bytes do make up a fourth entry
        {255, 0, 0, 0},                 // header and counters alone
        {1, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        const ap_survey_info survey = ReadSurveyInfo(Receive(SurveyDatagram(c.icount, c.sent, c.extra)));
        EXPECT_EQ(survey.icount, c.expected) << int(c.icount) << " claimed, " << c.sent << " sent";
        EXPECT_EQ(survey.packet_count, 1);
        for (size_t i = 0; i < std::min(c.expected, c.sent); ++i)
        {
            const config_otherwl_basic expected = SurveyEntry(static_cast<uint8_t>(i));
            EXPECT_EQ(std::memcmp(&survey.entries[i], &expected, sizeof(expected)), 0) << i;
        }
        for (size_t i = c.expected; i < kSurveyMaxEntries; ++i)
            EXPECT_EQ(survey.entries[i].ssid.len, 0) << "entry " << i << " past the count stays zero";
    }
}

TEST(SurveyReport, HeaderDatagramShorterThanTheCounters)
{
    std::vector<uint8_t> datagram = DeviceDatagram(kMsgSearchAp, std::vector<uint8_t>{3, 2});
    const ap_survey_info survey = ReadSurveyInfo(Receive(datagram));
    EXPECT_EQ(survey.packet_count, 3);
    EXPECT_EQ(survey.packet_id, 2);
    EXPECT_EQ(survey.icount, 0);

    const config_otherwl_basic entry = SurveyEntry(9);
    EXPECT_EQ(entry.signal, -49);
    EXPECT_EQ(MacBytesToText(entry.mac), "02:00:00:00:00:09");
}
