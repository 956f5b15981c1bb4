// The engine on a test LAN: its sockets, a PC with two addresses on one subnet, heartbeats that
// keep arriving while requests go out, and the release of every device at shutdown.
#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "common/wait_for.h"
#include "lan/engine_lan_support.h"
#include "link/transmit_manage.h"
#include "store/sql_management.h"
#include "support/log.h"

namespace
{

using namespace std::chrono_literals;

const MacBytes kMac1{0x00, 0x1a, 0x2b, 0x00, 0x00, 0x01};
const MacBytes kMac2{0x00, 0x1a, 0x2b, 0x00, 0x00, 0x02};
const MacBytes kMac3{0x00, 0x1a, 0x2b, 0x00, 0x00, 0x03};

// The tool's side of a test: a program directory with its log and store, and the calling thread in
// the tool host, where the engine is made.
class EngineLan : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_TEST_LAN();
        ASSERT_TRUE(OpenLog(m_program.Path()));
        m_store = std::make_unique<CSqlManagement>(m_program.Path());
    }

    void MakeLan(const TestLanOptions& options = {})
    {
        m_lan = std::make_unique<CTestLan>("engine", options);
        ASSERT_TRUE(m_lan->IsUp());
        m_tool = std::make_unique<CNamespaceScope>(m_lan->Namespace("tool"));
        // Never an engine outside the LAN.
        ASSERT_TRUE(m_tool->Entered());
    }

    std::unique_ptr<AcTransmitManage> MakeEngine()
    {
        if (!m_tool || !m_tool->Entered())
            return nullptr;
        return std::make_unique<AcTransmitManage>(nullptr, m_store.get(), FIELDMATE_BINARY_DIR "/libLocalAdapter.so");
    }

    std::string Log() const { return ReadTextFile(CurrentLogPath()); }

    // The tool host's UDP sockets as ss lists them.
    std::string ToolSockets() { return Run("tool", {"ss", "-uanpH"}); }

    std::string Run(const std::string& host, const std::vector<std::string>& command)
    {
        std::string output;
        m_lan->Run(host, command, &output);
        return output;
    }

    void TearDown() override
    {
        m_tool.reset();
        m_lan.reset();
    }

    CTempDir m_program;
    std::unique_ptr<CSqlManagement> m_store;
    std::unique_ptr<CTestLan> m_lan;
    std::unique_ptr<CNamespaceScope> m_tool;
};

bool HasListener(const std::string& sockets, uint16_t port)
{
    return sockets.find("0.0.0.0:" + std::to_string(port) + " ") != std::string::npos &&
           sockets.find("pid=" + std::to_string(getpid()) + ",") != std::string::npos;
}

} // namespace

TEST_F(EngineLan, InitBindsItsFourSockets)
{
    MakeLan();
    std::unique_ptr<AcTransmitManage> engine = MakeEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(engine->Init(3, 2000));
    EXPECT_EQ(engine->LastInitFailure(), "");
    const std::string sockets = ToolSockets();
    for (uint16_t port : {9785, 9786, 9787, 9788})
        EXPECT_TRUE(HasListener(sockets, port)) << port << "\n" << sockets;
    // Init's adapter query found the tool host's address.
    const std::vector<local_ip_info> ips = engine->LocalIpList();
    ASSERT_EQ(ips.size(), 1u);
    EXPECT_EQ(ips[0].ip, "10.77.0.1");
    EXPECT_EQ(ips[0].mask, "255.255.0.0");
}

TEST_F(EngineLan, PortTakenWithoutAddressReuseFailsInit)
{
    MakeLan();
    const std::pair<uint16_t, const char*> cases[] = {
        {9786, "create socket_discover_send fail"},
        {9785, "create socket_discover_recv fail"},
        {9787, "create socket_heartbeat fail"},
        {9788, "create socket_config fail"},
    };
    for (const auto& [port, line] : cases)
    {
        SCOPED_TRACE(port);
        CNetnsSocket holder(m_lan->Namespace("tool"), "0.0.0.0", port, {.reuseAddress = false});
        ASSERT_TRUE(holder.Valid());
        const size_t logBefore = Log().size();
        std::unique_ptr<AcTransmitManage> engine = MakeEngine();
        ASSERT_TRUE(engine);
        EXPECT_FALSE(engine->Init(3, 2000));
        const std::string log = Log().substr(logBefore);
        const size_t bind = log.find("[ERROR]");
        EXPECT_NE(log.find("socket bind fail", bind), std::string::npos) << log;
        EXPECT_NE(log.find(line, log.find("socket bind fail")), std::string::npos) << log;
        const std::string reason = engine->LastInitFailure();
        EXPECT_NE(reason.find(line), std::string::npos) << reason;
        EXPECT_NE(reason.find(std::to_string(port)), std::string::npos) << reason;
        EXPECT_NE(reason.find("in use"), std::string::npos) << reason;

        // The sockets made before the failing one stay open; none after it is made.
        const std::string sockets = ToolSockets();
        bool before = true;
        for (uint16_t other : {9786, 9785, 9787, 9788})
        {
            if (other == port)
            {
                before = false;
                continue;
            }
            EXPECT_EQ(HasListener(sockets, other), before) << other << "\n" << sockets;
        }
    }
}

TEST_F(EngineLan, TwoAddressesOnOneSubnetSendARequestTwiceAndABroadcastOnce)
{
    MakeLan({.deviceHosts = 1, .secondToolAddress = true});
    const CLanPeerDevice device(*m_lan, "dev1", "10.77.1.1", kMac1);
    ASSERT_TRUE(device.Ready());
    const CNetnsSocket broadcasts(m_lan->Namespace("dev1"), "0.0.0.0", kDiscoverBroadcastPort);
    ASSERT_TRUE(broadcasts.Valid());
    std::unique_ptr<AcTransmitManage> engine = MakeEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(engine->Init(3, 60000));
    ASSERT_EQ(engine->LocalIpList().size(), 2u);

    const uint8_t payload[3] = {7, 8, 9};
    EXPECT_TRUE(
        engine->SendPacketMutilcast(device.Ip(), kMsgReboot, payload, sizeof(payload), device.MacText(), false));
    const std::vector<NetnsDatagram> requests = device.RequestsFor(500ms);
    ASSERT_EQ(requests.size(), 2u);
    const std::vector<uint8_t> expected = {0x88, 0x19, 0, 0, 9, 0, 1, 0, 0x00, 0x1a, 0x2b, 0, 0, 1, 3, 0, 7, 8, 9};
    for (const NetnsDatagram& request : requests)
    {
        EXPECT_EQ(request.bytes, expected);
        EXPECT_EQ(request.FromPort(), kRequestPort);
    }
    EXPECT_EQ(requests[0].FromIp(), "10.77.0.1");
    EXPECT_EQ(requests[1].FromIp(), "10.77.0.2");

    engine->SendPacketBroadcast();
    const std::vector<NetnsDatagram> discovers = broadcasts.ReceiveAll(500ms);
    ASSERT_EQ(discovers.size(), 1u);
    EXPECT_EQ(discovers[0].FromIp(), "10.77.0.1");
    EXPECT_EQ(discovers[0].FromPort(), kDiscoverBroadcastPort);
    EXPECT_EQ(discovers[0].bytes, (std::vector<uint8_t>{0x88, 0x19, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// Requests and acknowledgements leave from socket_heartbeat itself, so no socket bound to the
// tool's address and port 9787 ever exists to take the heartbeats arriving meanwhile.
TEST_F(EngineLan, HeartbeatsKeepArrivingWhileRequestsAndAcknowledgementsGoOut)
{
    MakeLan();
    const CLanPeerDevice device(*m_lan, "dev1", "10.77.1.1", kMac1);
    ASSERT_TRUE(device.Ready());
    // Another program of the tool host in the group: the tool's own datagrams must not come back.
    const CNetnsSocket groupMember(m_lan->Namespace("tool"), "10.77.0.1", 45000, {.joinRequestGroup = true});
    ASSERT_TRUE(groupMember.Valid());
    std::unique_ptr<AcTransmitManage> engine = MakeEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(engine->Init(3, 60000));

    ASSERT_TRUE(device.SendDiscoverReport());
    ASSERT_TRUE(WaitFor([&] { return !engine->ManagedDevices().empty(); }, 10s));
    ASSERT_TRUE(device.SendConfigReport());
    ASSERT_TRUE(WaitFor([&] { return engine->ManagedDevices()[0].state == kManageApConfigured; }, 10s));
    device.RequestsFor(200ms);

    constexpr int kHeartbeats = 1000;
    std::atomic<bool> running{true};
    // The device reads what reaches it while it runs, so its own buffer never overflows.
    std::atomic<size_t> acknowledgements{0};
    std::atomic<size_t> requests{0};
    std::atomic<size_t> strangers{0};
    std::thread reader(
        [&]
        {
            for (;;)
            {
                const std::optional<NetnsDatagram> datagram = device.Requests().Receive(500ms);
                if (!datagram)
                {
                    if (!running)
                        return;
                    continue;
                }
                if (datagram->FromIp() != "10.77.0.1" || datagram->FromPort() != kRequestPort)
                    ++strangers;
                acknowledgements += datagram->Type() == kMsgHeartbeat;
                requests += datagram->Type() == kMsgDeviceName;
            }
        });
    std::atomic<bool> sending{true};
    std::atomic<size_t> requestsSent{0};
    std::thread requester(
        [&]
        {
            const uint8_t name[33] = {4, 'r', 'o', 'o', 'f'};
            while (sending)
            {
                if (engine->SendPacketMutilcast(device.Ip(), kMsgDeviceName, name, sizeof(name), device.MacText(),
                                                false))
                    ++requestsSent;
                std::this_thread::sleep_for(100us);
            }
        });
    for (int i = 1; i <= kHeartbeats; ++i)
    {
        ASSERT_TRUE(device.SendHeartbeat(static_cast<uint32_t>(i)));
        std::this_thread::sleep_for(1ms);
    }
    const auto acknowledgedInLog = [&]
    { return CountOccurrences(Log(), "SendPacketMutilcast KAVRO_APHeartbeatAck ip:10.77.1.1"); };
    const bool allAcknowledged = WaitFor([&] { return acknowledgedInLog() >= kHeartbeats; }, 30s);
    sending = false;
    requester.join();
    WaitFor([&] { return acknowledgements + requests >= kHeartbeats + requestsSent; }, 10s);
    running = false;
    reader.join();

    // Every heartbeat reached the engine and was acknowledged, and the last one is in the store.
    EXPECT_TRUE(allAcknowledged);
    EXPECT_EQ(acknowledgedInLog(), size_t{kHeartbeats});
    ap_info_stu stored;
    ASSERT_TRUE(m_store->GetDeviceByMac(device.MacText(), stored));
    EXPECT_EQ(uint32_t{stored.config.up_time}, uint32_t{kHeartbeats});
    // On the wire each acknowledgement and request reached the device from 10.77.0.1:9787, once.
    EXPECT_EQ(acknowledgements, size_t{kHeartbeats});
    EXPECT_EQ(requests, requestsSent);
    EXPECT_EQ(strangers, 0u);
    EXPECT_GT(requestsSent, size_t{kHeartbeats});
    std::printf("%d heartbeats, all acknowledged, while %zu requests went out\n", kHeartbeats, requestsSent.load());
}

TEST_F(EngineLan, ShutdownReleasesEveryManagedDeviceOnce)
{
    MakeLan({.deviceHosts = 2});
    const CLanPeerDevice first(*m_lan, "dev1", "10.77.1.1", kMac1);
    const CLanPeerDevice second(*m_lan, "dev1", "10.77.1.2", kMac2);
    const CLanPeerDevice pending(*m_lan, "dev2", "10.77.1.3", kMac3);
    ASSERT_TRUE(first.Ready() && second.Ready() && pending.Ready());
    std::unique_ptr<AcTransmitManage> engine = MakeEngine();
    ASSERT_TRUE(engine);
    ASSERT_TRUE(engine->Init(3, 200));
    for (const CLanPeerDevice* device : {&first, &second, &pending})
        ASSERT_TRUE(device->SendDiscoverReport());
    ASSERT_TRUE(WaitFor([&] { return engine->ManagedDevices().size() == 3; }, 10s));
    ASSERT_TRUE(first.SendConfigReport() && second.SendConfigReport());
    ASSERT_TRUE(WaitFor(
        [&]
        {
            std::vector<std::string> macs;
            return m_store->ListDeviceMacs(macs) && macs.size() == 2;
        },
        10s));
    for (const CLanPeerDevice* device : {&first, &second, &pending})
        device->RequestsFor(100ms);

    engine.reset();
    for (const CLanPeerDevice* device : {&first, &second, &pending})
    {
        size_t releases = 0;
        for (const NetnsDatagram& datagram : device->RequestsFor(1000ms))
            releases += datagram.Type() == kMsgRelease;
        EXPECT_EQ(releases, 1u) << device->MacText();
    }
}
