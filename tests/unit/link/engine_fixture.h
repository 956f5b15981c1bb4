// An engine with a capturing sender and a store in a temporary program directory, and devices that
// hand it records as its receive threads would.
#pragma once

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/capturing_sender.h"
#include "common/temp_dir.h"
#include "link/device_protocol.h"
#include "link/socket_address.h"
#include "link/transmit_manage.h"
#include "store/sql_management.h"
#include "support/log.h"

inline local_adapter_info Adapter(const char* name, MacBytes mac,
                                  const std::vector<std::pair<std::string, std::string>>& addresses)
{
    local_adapter_info adapter{};
    adapter.state = 1;
    std::copy(mac.begin(), mac.end(), adapter.mac);
    std::strncpy(adapter.name, name, sizeof(adapter.name) - 1);
    for (const auto& [ip, mask] : addresses)
    {
        std::strncpy(adapter.addresses[adapter.address_count].ip, ip.c_str(), 15);
        std::strncpy(adapter.addresses[adapter.address_count].mask, mask.c_str(), 15);
        ++adapter.address_count;
    }
    return adapter;
}

// A device as the engine sees it: its MAC, the address it sends from and its model code.
struct TestDevice
{
    MacBytes mac;
    std::string ip;
    uint16_t apType = 261;

    std::string MacText() const { return MacBytesToText(mac); }

    ap_packet_info Packet(uint16_t msgType, ApChannel channel, std::span<const uint8_t> payload = {},
                          const std::string& fromIp = {}) const
    {
        const sockaddr_in from = ParseSocketAddress(fromIp.empty() ? ip : fromIp, 40000).value();
        const std::optional<ap_packet_info> packet =
            DecodePacket(EncodeDevicePacket(apType, msgType, mac, payload).value(), channel, from);
        EXPECT_TRUE(packet);
        return packet.value_or(ap_packet_info{});
    }

    ap_discover_info Report() const
    {
        ap_discover_info report;
        std::memset(&report, 0, sizeof(report));
        report.version.Assign("V3.2.1\nbuild 77");
        report.work_mode = 2;
        report.mode_btn_status = 1;
        report.up_time = 500;
        report.ap_name.Assign("Roof \xc3\xa9 North"); // UTF-8 on the wire
        report.ssid.Assign("field-net");
        report.channel = 11;
        report.bridge_transparent = 1;
        report.tdmaEn = 1;
        return report;
    }
    ap_packet_info Discover(const std::string& fromIp = {}) const
    {
        const ap_discover_info report = Report();
        return Packet(kMsgDiscover, ApChannel::DiscoverReports, RecordBytes(report), fromIp);
    }

    ap_config_info Config(const std::string& reportIp = {}) const
    {
        ap_config_info config;
        std::memset(&config, 0, sizeof(config));
        config.ap_type = apType;
        config.work_mode = 2;
        config.up_time = 600;
        const Ipv4Bytes address = IpTextToBytes(reportIp.empty() ? ip : reportIp);
        std::copy(address.begin(), address.end(), config.ip);
        const uint8_t mask[4] = {255, 255, 0, 0};
        std::memcpy(config.ip_mask, mask, 4);
        config.ap_name.Assign("Roof \xc3\xa9 North");
        config.version.Assign("V3.2.1");
        config.ssid.Assign("field-net");
        config.bridge_ssid.Assign("uplink");
        config.channel = 11;
        config.tdmaEn = 1;
        return config;
    }
    ap_packet_info ConfigReport(const std::string& reportIp = {}, const std::string& fromIp = {}) const
    {
        const ap_config_info config = Config(reportIp);
        return Packet(kMsgConfigQuery, ApChannel::Replies, RecordBytes(config), fromIp);
    }

    ap_packet_info Heartbeat(uint32_t upTime, const std::string& fromIp = {}) const
    {
        ap_heartbeat_info heartbeat;
        std::memset(&heartbeat, 0, sizeof(heartbeat));
        heartbeat.version.Assign("V3.2.1");
        heartbeat.up_time = upTime;
        return Packet(kMsgHeartbeat, ApChannel::Heartbeats, RecordBytes(heartbeat), fromIp);
    }

    ap_packet_info Reply(uint16_t msgType, std::vector<uint8_t> payload = {}, const std::string& fromIp = {}) const
    {
        return Packet(msgType, ApChannel::Replies, payload, fromIp);
    }
};

inline const TestDevice kDeviceA{{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x01}, "10.77.1.1"};
inline const TestDevice kDeviceB{{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x02}, "10.77.1.2"};
inline const TestDevice kDeviceC{{0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x03}, "10.77.1.3"};
inline const MacBytes kToolMac{0x02, 0x00, 0x00, 0x00, 0x00, 0x01};

class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenLog(m_program.Path()));
        m_store = std::make_unique<CSqlManagement>(m_program.Path());
        ASSERT_TRUE(m_store->IsUsable());
        MakeEngine();
        m_engine->RebuildLocalIpList({Adapter("eth0", kToolMac, {{"10.77.0.1", "255.255.0.0"}})});
    }
    void TearDown() override { m_engine.reset(); }

    void MakeEngine()
    {
        m_capture = std::make_shared<CSendCapture>();
        m_engine = std::make_unique<AcTransmitManage>(std::make_unique<CCapturingSender>(m_capture), m_store.get(),
                                                      "/nonexistent/libLocalAdapter.so");
    }

    // What was sent since the last call.
    std::vector<SentDatagram> TakeSent() { return m_capture->Take(); }

    // The log written since the last call.
    std::string NewLog()
    {
        const std::string text = ReadTextFile(CurrentLogPath());
        const std::string fresh = text.substr(std::min(m_logSeen, text.size()));
        m_logSeen = text.size();
        return fresh;
    }

    // A device that answered discover and whose configuration report was accepted.
    void Configure(const TestDevice& device)
    {
        m_engine->ManageDiscoverPacket(device.Discover());
        m_engine->ManageConfigPacket(device.ConfigReport());
        TakeSent();
    }

    int StoredStatus(const TestDevice& device) { return m_store->GetDeviceStatus(device.MacText()); }
    bool Stored(const TestDevice& device)
    {
        std::vector<std::string> macs;
        m_store->ListDeviceMacs(macs);
        return std::find(macs.begin(), macs.end(), device.MacText()) != macs.end();
    }

    std::optional<manage_ap_info> Managed(const TestDevice& device)
    {
        for (const manage_ap_info& record : m_engine->ManagedDevices())
            if (record.mac == device.MacText())
                return record;
        return std::nullopt;
    }

    CTempDir m_program;
    std::unique_ptr<CSqlManagement> m_store;
    std::shared_ptr<CSendCapture> m_capture;
    std::unique_ptr<AcTransmitManage> m_engine;
    size_t m_logSeen = 0;
};

// The exact datagram the tool sends to one device: header only, or header and payload.
inline std::vector<uint8_t> ToolDatagram(uint16_t msgType, const MacBytes& mac, std::vector<uint8_t> payload = {})
{
    std::vector<uint8_t> bytes = {0x88,
                                  0x19,
                                  0x00,
                                  0x00,
                                  static_cast<uint8_t>(msgType),
                                  0x00,
                                  0x01,
                                  0x00,
                                  mac[0],
                                  mac[1],
                                  mac[2],
                                  mac[3],
                                  mac[4],
                                  mac[5],
                                  static_cast<uint8_t>(payload.size()),
                                  static_cast<uint8_t>(payload.size() >> 8)};
    for (uint8_t byte : payload)
        bytes.push_back(byte);
    return bytes;
}
