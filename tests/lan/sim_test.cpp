// The device simulator seen from the tool's host through raw sockets: discover, requests and their
// answers, heartbeats, moves, reboots, surveys, upgrades, loss and silence.
#include <arpa/inet.h>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "common/netns_socket.h"
#include "common/test_lan.h"
#include "common/wait_for.h"
#include "link/device_protocol.h"
#include "store/model_table.h"

namespace
{

using namespace std::chrono_literals;

const std::string kSim = FIELDMATE_BINARY_DIR "/fieldmate-sim";
const std::string kTool = "10.77.0.1";

std::string MacOf(int index) // the simulator's default MACs, from 02:46:4d:00:00:01
{
    char text[18];
    std::snprintf(text, sizeof(text), "02:46:4d:00:00:%02x", index + 1);
    return text;
}

std::string IpOf(int index)
{
    return "10.77.1." + std::to_string(index + 1);
}

std::optional<ap_packet_info> Decode(const NetnsDatagram& datagram)
{
    return DecodePacket(datagram.bytes, ApChannel::Replies, datagram.from);
}

uint16_t TypeOf(const NetnsDatagram& datagram)
{
    const auto packet = Decode(datagram);
    return packet ? uint16_t{ReadPacketHead(*packet).msg_type} : 0;
}

class SimLan : public testing::Test
{
protected:
    void StartSim(std::vector<std::string> arguments, const TestLanOptions& options = {})
    {
        m_lan = std::make_unique<CTestLan>(testing::UnitTest::GetInstance()->current_test_info()->name(), options);
        ASSERT_TRUE(m_lan->IsUp());
        m_control = "/tmp/fmtest-sim-" + std::to_string(getpid()) + ".ctl";
        m_log = "/tmp/fmtest-sim-" + std::to_string(getpid()) + ".jsonl";
        std::vector<std::string> command = {kSim, "--control", m_control, "--log", m_log};
        command.insert(command.end(), arguments.begin(), arguments.end());
        m_sim = m_lan->Start("dev1", command);
        ASSERT_TRUE(WaitFor([this] { return m_sim.Output().find("devices on eth0") != std::string::npos; }, 20s))
            << m_sim.Output();
        const std::string tool = m_lan->Namespace("tool");
        m_discover = std::make_unique<CNetnsSocket>(tool, kTool, kDiscoverBroadcastPort);
        m_reports = std::make_unique<CNetnsSocket>(tool, "0.0.0.0", kDiscoverReportPort);
        m_requests = std::make_unique<CNetnsSocket>(tool, kTool, kRequestPort); // heartbeats arrive here too
        m_replies = std::make_unique<CNetnsSocket>(tool, "0.0.0.0", kReplyPort);
        ASSERT_TRUE(m_discover->Valid() && m_reports->Valid() && m_requests->Valid() && m_replies->Valid());
    }

    void TearDown() override
    {
        if (m_lan)
        {
            EXPECT_EQ(m_sim.Stop(), 0) << m_sim.Output();
        }
        std::remove(m_log.c_str());
    }

    void Broadcast()
    {
        const auto datagram = EncodePacket(kMsgDiscover, "", false);
        ASSERT_TRUE(m_discover->SendTo("10.77.255.255", kDiscoverBroadcastPort, *datagram));
    }

    void Request(const std::string& mac, uint16_t type, std::span<const uint8_t> payload = {})
    {
        const auto datagram = EncodePacket(type, mac, true, payload);
        ASSERT_TRUE(datagram);
        ASSERT_TRUE(m_requests->SendTo(kRequestGroup, kRequestPort, *datagram));
    }

    // The next datagram of the type on the reply port, skipping others.
    std::optional<NetnsDatagram> Reply(uint16_t type, std::chrono::milliseconds timeout = 3s)
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end)
        {
            auto datagram = m_replies->Receive(
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()));
            if (datagram && TypeOf(*datagram) == type)
                return datagram;
        }
        return std::nullopt;
    }

    std::optional<ap_config_info> QueryConfig(const std::string& mac, std::string* from = nullptr)
    {
        Request(mac, kMsgConfigQuery);
        const auto reply = Reply(kMsgConfigQuery);
        if (!reply)
            return std::nullopt;
        if (from != nullptr)
            *from = reply->FromIp();
        return ReadConfigInfo(*Decode(*reply));
    }

    int Control(const std::string& command)
    {
        std::vector<std::string> full = {kSim, "control", m_control};
        std::istringstream words(command);
        for (std::string word; words >> word;)
            full.push_back(word);
        return m_lan->Run("", full);
    }

    std::unique_ptr<CTestLan> m_lan;
    CLanProcess m_sim;
    std::string m_control;
    std::string m_log;
    std::unique_ptr<CNetnsSocket> m_discover, m_reports, m_requests, m_replies;
};

TEST_F(SimLan, AThousandDevicesAnswerOneBroadcastEachFromItsOwnAddress)
{
    SKIP_WITHOUT_TEST_LAN();
    constexpr int kCount = 1000;
    StartSim({"--count", std::to_string(kCount)});
    Broadcast();
    std::map<std::string, NetnsDatagram> reports;
    WaitFor(
        [&]
        {
            while (auto datagram = m_reports->Receive(10ms))
                reports.emplace(MacBytesToText(std::span<const uint8_t, 6>(datagram->bytes.data() + 8, 6)),
                                std::move(*datagram));
            return reports.size() == kCount;
        },
        10s, 1ms);
    ASSERT_EQ(reports.size(), static_cast<size_t>(kCount));
    const auto& models = ModelTable();
    for (int i = 0; i < kCount; ++i)
    {
        char mac[18];
        std::snprintf(mac, sizeof(mac), "02:46:4d:00:%02x:%02x", (i + 1) >> 8, (i + 1) & 0xff);
        const auto report = reports.find(mac);
        ASSERT_NE(report, reports.end()) << mac;
        const auto packet = DecodePacket(report->second.bytes, ApChannel::DiscoverReports, report->second.from);
        ASSERT_TRUE(packet) << mac;
        EXPECT_EQ(ReadPacketHead(*packet).ap_type, models[static_cast<size_t>(i) % models.size()].code) << mac;
        EXPECT_EQ(report->second.FromPort(), kRequestPort);
        const ap_discover_info info = ReadDiscoverInfo(*packet);
        EXPECT_FALSE(info.ap_name.View().empty()) << mac;
        EXPECT_EQ(info.version.View().substr(0, 1), "V") << mac;
        EXPECT_GT(uint32_t{info.up_time}, 0u) << mac;
    }
    // Addresses count up from 10.77.1.1, one per device.
    EXPECT_EQ(reports[MacOf(0)].FromIp(), "10.77.1.1");
    EXPECT_EQ(reports["02:46:4d:00:01:00"].FromIp(), "10.77.2.0");
    EXPECT_EQ(reports["02:46:4d:00:03:e8"].FromIp(), "10.77.4.232");
}

TEST_F(SimLan, RequestsAreAnsweredWithTheirTypeAndHeartbeatsFollowTheAcknowledgeUntilRelease)
{
    SKIP_WITHOUT_TEST_LAN();
    StartSim({"--count", "3", "--heartbeat-interval", "0.3"});
    const std::string mac = MacOf(1);

    Request(mac, kMsgDiscover); // the acknowledge of a discover report
    const auto heartbeats = m_requests->ReceiveFor(1500ms);
    ASSERT_GE(heartbeats.size(), 3u);
    for (const NetnsDatagram& heartbeat : heartbeats)
    {
        const auto packet = DecodePacket(heartbeat.bytes, ApChannel::Heartbeats, heartbeat.from);
        ASSERT_TRUE(packet);
        EXPECT_EQ(PacketMacText(*packet), mac);
        EXPECT_EQ(heartbeat.FromIp(), IpOf(1));
        EXPECT_EQ(ReadHeartbeatInfo(*packet).version.View().substr(0, 1), "V");
    }

    std::string from;
    const auto config = QueryConfig(mac, &from);
    ASSERT_TRUE(config);
    EXPECT_EQ(from, IpOf(1));
    EXPECT_EQ(IpBytesToText(config->ip), IpOf(1));
    EXPECT_EQ(uint16_t{config->ap_type}, ModelTable()[1].code);

    ap_config_info renamed = *config;
    renamed.ap_name.Assign("北区-新名字");
    Request(mac, kMsgDeviceName, ConfigBlockBytes(renamed, kConfigNameBlock));
    const auto answer = Reply(kMsgDeviceName);
    ASSERT_TRUE(answer);
    EXPECT_EQ(ReadResultByte(*Decode(*answer)), 0);
    EXPECT_EQ(QueryConfig(mac)->ap_name.View(), "北区-新名字");

    // Switches change only their own field.
    const uint8_t tdmaOn[14] = {0, 1};
    Request(mac, kMsgTdma, tdmaOn);
    ASSERT_TRUE(Reply(kMsgTdma));
    const uint8_t bridgeOn[14] = {1, 0};
    Request(mac, kMsgTransparentBridge, bridgeOn);
    ASSERT_TRUE(Reply(kMsgTransparentBridge));
    const auto switched = QueryConfig(mac);
    EXPECT_EQ(switched->tdmaEn, 1);
    EXPECT_EQ(switched->bridge_transparent, 1);

    Request(mac, kMsgRelease);
    m_requests->ReceiveFor(500ms); // one may be on its way
    EXPECT_TRUE(m_requests->ReceiveFor(1000ms).empty());
    EXPECT_FALSE(Reply(kMsgRelease, 500ms)) << "a release is not answered";
}

TEST_F(SimLan, AnIpChangeIsAnsweredFromTheOldAddressAndMovesTheDeviceWhenApplied)
{
    SKIP_WITHOUT_TEST_LAN();
    StartSim({"--count", "2", "--reboot-silence", "1.5"});
    const std::string mac = MacOf(0);
    auto config = QueryConfig(mac);
    ASSERT_TRUE(config);

    ap_config_info moved = *config;
    std::memcpy(moved.ip, IpTextToBytes("10.77.9.9").data(), 4);
    moved.unread_29 = 1; // the apply byte
    Request(mac, kMsgIpSet, ConfigBlockBytes(moved, kConfigIpBlock));
    auto answer = Reply(kMsgIpSet);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->FromIp(), IpOf(0));
    std::string from;
    ASSERT_TRUE(QueryConfig(mac, &from));
    EXPECT_EQ(from, "10.77.9.9");

    // Apply byte 0: answered, but the address changes only when the device restarts.
    std::memcpy(moved.ip, IpTextToBytes("10.77.9.10").data(), 4);
    moved.unread_29 = 0;
    Request(mac, kMsgIpSet, ConfigBlockBytes(moved, kConfigIpBlock));
    ASSERT_TRUE(Reply(kMsgIpSet));
    ASSERT_TRUE(QueryConfig(mac, &from));
    EXPECT_EQ(from, "10.77.9.9");

    Request(mac, kMsgReboot);
    answer = Reply(kMsgReboot);
    ASSERT_TRUE(answer);
    EXPECT_EQ(ReadResultByte(*Decode(*answer)), 0);
    EXPECT_FALSE(QueryConfig(mac)) << "silent while rebooting";
    std::this_thread::sleep_for(1500ms);
    const auto restarted = QueryConfig(mac, &from);
    ASSERT_TRUE(restarted);
    EXPECT_EQ(from, "10.77.9.10");
    EXPECT_LT(uint32_t{restarted->up_time}, 5u);

    // A broken request is refused and changes nothing.
    const uint8_t shortBlock[5] = {1, 10, 77, 9, 11};
    Request(mac, kMsgIpSet, shortBlock);
    answer = Reply(kMsgIpSet);
    ASSERT_TRUE(answer);
    EXPECT_EQ(ReadResultByte(*Decode(*answer)), 1);
    ASSERT_TRUE(QueryConfig(mac, &from));
    EXPECT_EQ(from, "10.77.9.10");
}

TEST_F(SimLan, ASurveyLargerThanOneDatagramArrivesInSeveral)
{
    SKIP_WITHOUT_TEST_LAN();
    StartSim({"--count", "4", "--survey-aps", "70"});
    Request(MacOf(2), kMsgSearchAp);
    std::map<int, int> entriesById;
    for (int i = 0; i < 3; ++i)
    {
        const auto report = Reply(kMsgSearchAp);
        ASSERT_TRUE(report);
        const ap_survey_info survey = ReadSurveyInfo(*Decode(*report));
        EXPECT_EQ(survey.packet_count, 3);
        entriesById[survey.packet_id] = survey.icount;
        for (int e = 0; e < survey.icount; ++e)
            EXPECT_FALSE(survey.entries[e].ssid.View().empty());
    }
    EXPECT_EQ(entriesById, (std::map<int, int>{{0, 32}, {1, 32}, {2, 6}}));
}

TEST_F(SimLan, NeverAnsweredTypesAndMutedDevicesStaySilent)
{
    SKIP_WITHOUT_TEST_LAN();
    StartSim({"--count", "2", "--never-answer", "3,4"});
    const std::string mac = MacOf(0);
    auto config = QueryConfig(mac);
    ASSERT_TRUE(config);
    Request(mac, kMsgIpSet, ConfigBlockBytes(*config, kConfigIpBlock));
    Request(mac, kMsgWirelessSet, ConfigBlockBytes(*config, kConfigWirelessBlock));
    Request(mac, kMsgRebootSchedule, ConfigBlockBytes(*config, kConfigRebootBlock));
    EXPECT_TRUE(Reply(kMsgRebootSchedule));
    EXPECT_FALSE(Reply(kMsgIpSet, 1s));
    EXPECT_FALSE(Reply(kMsgWirelessSet, 1s));

    ASSERT_EQ(Control("mute " + mac), 0);
    EXPECT_FALSE(QueryConfig(mac));
    Broadcast();
    const auto reports = m_reports->ReceiveFor(1s);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].FromIp(), IpOf(1));
    ASSERT_EQ(Control("unmute " + mac), 0);
    EXPECT_TRUE(QueryConfig(mac));
    EXPECT_NE(Control("mute 00:00:00:00:00:99"), 0);
}

TEST_F(SimLan, TheDropOptionLosesDatagramsBothWays)
{
    SKIP_WITHOUT_TEST_LAN();
    StartSim({"--count", "20", "--drop", "0.5", "--reply-jitter", "50"});
    size_t reports = 0;
    for (int i = 0; i < 10; ++i)
    {
        Broadcast();
        reports += m_reports->ReceiveFor(150ms).size();
    }
    // Each report survives the broadcast's loss and its own: a quarter of 200 on average.
    EXPECT_GT(reports, 0u);
    EXPECT_LT(reports, 200u);
    std::ifstream log(m_log);
    std::string line;
    size_t droppedIn = 0, droppedOut = 0;
    while (std::getline(log, line))
        if (line.find("\"dropped\":true") != std::string::npos)
            ++(line.find("\"dir\":\"in\"") != std::string::npos ? droppedIn : droppedOut);
    EXPECT_GT(droppedIn, 0u);
    EXPECT_GT(droppedOut, 0u);
}

// A minimal TFTP server for one file in the tool's namespace: plain 512-byte blocks, no options.
class CTinyTftpServer
{
public:
    CTinyTftpServer(const std::string& ns, size_t size) : m_socket(ns, kTool, 69), m_ns(ns), m_size(size)
    {
        m_thread = std::thread([this] { Serve(); });
    }
    ~CTinyTftpServer()
    {
        m_stop = true;
        m_thread.join();
    }
    int requests = 0;

private:
    void Serve()
    {
        while (!m_stop)
        {
            const auto request = m_socket.Receive(100ms);
            if (!request || request->bytes.size() < 4 || request->bytes[1] != 1)
                continue;
            ++requests;
            CNetnsSocket transfer(m_ns, kTool, 0);
            for (size_t block = 1, sent = 0;; ++block)
            {
                const size_t length = std::min<size_t>(512, m_size - sent);
                std::vector<uint8_t> data = {0, 3, static_cast<uint8_t>(block >> 8), static_cast<uint8_t>(block)};
                data.resize(4 + length, 0x5a);
                transfer.SendTo(request->FromIp(), request->FromPort(), data);
                if (!transfer.Receive(2s))
                    break;
                sent += length;
                if (length < 512)
                    break;
            }
        }
    }
    CNetnsSocket m_socket;
    std::string m_ns;
    size_t m_size;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

std::vector<uint8_t> UpgradeOrder(const std::string& file, uint32_t size)
{
    std::vector<uint8_t> order(268, 0);
    std::memcpy(order.data(), file.data(), file.size());
    order[260] = static_cast<uint8_t>(file.size());
    for (int i = 0; i < 4; ++i)
        order[264 + static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
    return order;
}

TEST_F(SimLan, AnUpgradeFetchesTheFileReportsThenFlashesANewVersionAndRestarts)
{
    SKIP_WITHOUT_TEST_LAN();
    StartSim({"--count", "2", "--flash-seconds", "0.3", "--reboot-silence", "1"});
    CTinyTftpServer server(m_lan->Namespace("tool"), 1300);

    Request(MacOf(0), kMsgUpgradeRequest, UpgradeOrder("fw-5.9.1.bin", 1300));
    ASSERT_TRUE(Reply(kMsgUpgradeRequest));
    auto report = Reply(kMsgUpgradeReport, 10s);
    ASSERT_TRUE(report);
    EXPECT_EQ(ReadResultByte(*Decode(*report)), 0) << "image fetched: upgrade wait";

    Request(MacOf(0), kMsgUpgradeStart);
    ASSERT_TRUE(Reply(kMsgUpgradeStart));
    report = Reply(kMsgUpgradeReport, 5s);
    ASSERT_TRUE(report);
    EXPECT_EQ(ReadResultByte(*Decode(*report)), 2) << "flashed: success";
    EXPECT_FALSE(QueryConfig(MacOf(0))) << "restarting";
    std::this_thread::sleep_for(1s);
    const auto config = QueryConfig(MacOf(0));
    ASSERT_TRUE(config);
    EXPECT_EQ(config->version.View(), "V5.9.1");

    // An image shorter than announced fails.
    Request(MacOf(1), kMsgUpgradeRequest, UpgradeOrder("fw-5.9.1.bin", 4000));
    report = Reply(kMsgUpgradeReport, 10s);
    ASSERT_TRUE(report);
    EXPECT_EQ(ReadResultByte(*Decode(*report)), 1);
    EXPECT_EQ(server.requests, 2);
}

} // namespace
