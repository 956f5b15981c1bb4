// The engine against simulated devices: a device moved to a new address is found there by the next
// search, and a request a device never answers is sent three more times and then given up.
#include <cstring>
#include <fstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "common/temp_dir.h"
#include "common/test_lan.h"
#include "common/wait_for.h"
#include "engine_lan_support.h"
#include "link/transmit_manage.h"
#include "store/sql_management.h"
#include "support/log.h"

namespace
{

using namespace std::chrono_literals;

const std::string kSim = FIELDMATE_BINARY_DIR "/fieldmate-sim";

class DeviceRoad : public testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_TEST_LAN();
        ASSERT_TRUE(OpenLog(m_program.Path()));
        m_store = std::make_unique<CSqlManagement>(m_program.Path());
    }

    void TearDown() override
    {
        m_engine.reset(); // inside the tool host, where it sends its releases
        m_tool.reset();
        if (m_lan)
        {
            EXPECT_EQ(m_sim.Stop(), 0) << m_sim.Output();
        }
        m_lan.reset();
    }

    void Start(std::vector<std::string> simArguments)
    {
        m_lan = std::make_unique<CTestLan>(testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_TRUE(m_lan->IsUp());
        std::vector<std::string> command = {kSim, "--state", m_program.Path() + "sim.json", "--control",
                                            m_program.Path() + "sim.ctl"};
        command.insert(command.end(), simArguments.begin(), simArguments.end());
        m_sim = m_lan->Start("dev1", command);
        ASSERT_TRUE(WaitFor([this] { return m_sim.Output().find("devices on eth0") != std::string::npos; }, 20s));
        m_tool = std::make_unique<CNamespaceScope>(m_lan->Namespace("tool"));
        ASSERT_TRUE(m_tool->Entered()); // never an engine outside the LAN
        m_engine =
            std::make_unique<AcTransmitManage>(nullptr, m_store.get(), FIELDMATE_BINARY_DIR "/libLocalAdapter.so");
        ASSERT_TRUE(m_engine->Init(3, 500)) << m_engine->LastInitFailure();
    }

    // The status page's search, until the device's stored row satisfies the predicate.
    bool SearchUntil(const std::string& mac, const std::function<bool(const ap_info_stu&)>& predicate)
    {
        m_engine->ReleasePendingManageAp();
        m_engine->DeletePendingManageAp();
        m_engine->SyncStoreWithManageAp();
        int ticks = 0;
        return WaitFor(
            [&]
            {
                if (ticks++ % 30 == 0)
                    m_engine->SendPacketBroadcast();
                ap_info_stu row{};
                return m_store->GetDeviceByMac(mac, row) && InfoMacText(row) == mac && predicate(row);
            },
            15s, 100ms);
    }

    nlohmann::json SimDevice(const std::string& mac)
    {
        m_lan->Run("", {kSim, "control", m_program.Path() + "sim.ctl", "dump"});
        std::ifstream file(m_program.Path() + "sim.json");
        for (const auto& device : nlohmann::json::parse(file))
            if (device["mac"] == mac)
                return device;
        return {};
    }

    CTempDir m_program;
    std::unique_ptr<CSqlManagement> m_store;
    std::unique_ptr<CTestLan> m_lan;
    CLanProcess m_sim;
    std::unique_ptr<CNamespaceScope> m_tool;
    std::unique_ptr<AcTransmitManage> m_engine;
};

TEST_F(DeviceRoad, ADeviceMovedThroughTheEngineIsFoundAtItsNewAddressByTheNextSearch)
{
    Start({"--count", "3"});
    const std::string mac = "02:46:4d:00:00:02";
    ASSERT_TRUE(SearchUntil(mac, [](const ap_info_stu&) { return true; }));
    ap_info_stu row{};
    ASSERT_TRUE(m_store->GetDeviceByMac(mac, row));
    const std::string oldIp = IpBytesToText(row.config.ip);
    ASSERT_EQ(oldIp, "10.77.1.2");

    // What the IP tab sends: the record's IP block with the new address and the apply byte 1.
    ap_config_info changed = row.config;
    std::memcpy(changed.ip, IpTextToBytes("10.77.7.7").data(), 4);
    changed.unread_29 = 1;
    m_engine->UpdateManageApIp(mac, oldIp, "10.77.7.7");
    const auto block = ConfigBlockBytes(changed, kConfigIpBlock);
    ASSERT_TRUE(m_engine->SendPacketMutilcast(oldIp, kMsgIpSet, block.data(), block.size(), mac, true));

    EXPECT_TRUE(
        SearchUntil(mac, [](const ap_info_stu& found) { return IpBytesToText(found.config.ip) == "10.77.7.7"; }));
    EXPECT_EQ(SimDevice(mac)["ip"], "10.77.7.7");
    // It keeps answering there: a rename reaches it at its new address.
    ap_config_info renamed = changed;
    renamed.ap_name.Assign("moved-7");
    const auto name = ConfigBlockBytes(renamed, kConfigNameBlock);
    ASSERT_TRUE(m_engine->SendPacketMutilcast("10.77.7.7", kMsgDeviceName, name.data(), name.size(), mac, true));
    EXPECT_TRUE(WaitFor([&] { return SimDevice(mac)["name"] == "moved-7"; }, 5s, 100ms));
}

TEST_F(DeviceRoad, ARequestNeverAnsweredIsSentThreeMoreTimesThenGivenUp)
{
    Start({"--count", "2", "--never-answer", "8"});
    const std::string mac = "02:46:4d:00:00:01";
    ASSERT_TRUE(SearchUntil(mac, [](const ap_info_stu&) { return true; }));
    ap_info_stu row{};
    ASSERT_TRUE(m_store->GetDeviceByMac(mac, row));
    ap_config_info renamed = row.config;
    renamed.ap_name.Assign("never");
    const auto name = ConfigBlockBytes(renamed, kConfigNameBlock);
    ASSERT_TRUE(m_engine->SendPacketMutilcast("10.77.1.1", kMsgDeviceName, name.data(), name.size(), mac, true));

    auto log = [] { return ReadTextFile(CurrentLogPath()); };
    ASSERT_TRUE(WaitFor([&] { return log().find("Retransmission times exceeded:") != std::string::npos; }, 10s))
        << log();
    const std::string text = log();
    for (const char* line : {"retransmission count:2", "retransmission count:1", "retransmission count:0"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    const size_t exceeded = text.find("Retransmission times exceeded:");
    EXPECT_EQ(text.find("Retransmission times exceeded:", exceeded + 1), std::string::npos) << "given up once";
    EXPECT_NE(text.find(mac, exceeded), std::string::npos) << "the line names the device";
    // The device saw the request four times: the first send and three resends.
    EXPECT_EQ(SimDevice(mac)["requests"]["8"], 4);
    EXPECT_NE(SimDevice(mac)["name"], "never");
}

} // namespace
