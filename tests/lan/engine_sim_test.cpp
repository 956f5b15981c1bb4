// The engine against the device simulator: a search that finds fifty devices and stores them, and
// a shutdown that releases every one of them once.
#include <fstream>
#include <map>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "common/temp_dir.h"
#include "common/wait_for.h"
#include "lan/engine_lan_support.h"
#include "link/transmit_manage.h"
#include "store/sql_management.h"
#include "support/log.h"

namespace
{

using namespace std::chrono_literals;

const std::string kSim = FIELDMATE_BINARY_DIR "/fieldmate-sim";

size_t StoredCount(CSqlManagement& store)
{
    std::vector<std::string> macs;
    store.ListDeviceMacs(macs);
    return macs.size();
}

nlohmann::json ReadState(const std::string& path)
{
    std::ifstream file(path);
    return nlohmann::json::parse(file, nullptr, false);
}

} // namespace

TEST(EngineSim, FiftyDevicesAreFoundStoredAndReleasedAtShutdown)
{
    SKIP_WITHOUT_TEST_LAN();
    constexpr size_t kDevices = 50;
    CTempDir program;
    ASSERT_TRUE(OpenLog(program.Path()));
    CSqlManagement store(program.Path());
    CTestLan lan("sim50");
    ASSERT_TRUE(lan.IsUp());
    const std::string state = program.Path() + "sim-state.json";
    const std::string control = program.Path() + "sim.ctl";
    CLanProcess sim =
        lan.Start("dev1", {kSim, "--count", std::to_string(kDevices), "--state", state, "--control", control});
    ASSERT_TRUE(WaitFor([&] { return sim.Output().find("devices on eth0") != std::string::npos; }, 20s))
        << sim.Output();

    {
        CNamespaceScope tool(lan.Namespace("tool"));
        ASSERT_TRUE(tool.Entered());
        AcTransmitManage engine(nullptr, &store, FIELDMATE_BINARY_DIR "/libLocalAdapter.so");
        ASSERT_TRUE(engine.Init(3, 2000));

        // The status page's search: the three opening steps, then a broadcast every 3 seconds.
        const auto started = std::chrono::steady_clock::now();
        engine.RefreshCaptureDevices();
        engine.ReleasePendingManageAp();
        engine.DeletePendingManageAp();
        engine.SyncStoreWithManageAp();
        auto nextBroadcast = started;
        std::optional<std::chrono::steady_clock::duration> allPending;
        while (StoredCount(store) < kDevices && std::chrono::steady_clock::now() - started < 30s)
        {
            if (std::chrono::steady_clock::now() >= nextBroadcast)
            {
                engine.SendPacketBroadcast();
                nextBroadcast += 3s;
            }
            if (!allPending && engine.ManagedDevices().size() == kDevices)
                allPending = std::chrono::steady_clock::now() - started;
            std::this_thread::sleep_for(5ms);
        }
        const auto allStored = std::chrono::steady_clock::now() - started;
        ASSERT_EQ(StoredCount(store), kDevices);
        std::printf("%zu devices: all in the table after %lld ms, all stored after %lld ms\n", kDevices,
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::milliseconds>(allPending.value_or(allStored)).count()),
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(allStored).count()));

        // Each stored row is the device the simulator runs, online.
        ASSERT_EQ(lan.Run("", {kSim, "control", control, "dump"}), 0);
        const nlohmann::json devices = ReadState(state);
        ASSERT_TRUE(devices.is_array()) << ReadTextFile(state);
        ASSERT_EQ(devices.size(), kDevices);
        for (const nlohmann::json& device : devices)
        {
            const std::string mac = device.at("mac");
            SCOPED_TRACE(mac);
            ap_info_stu row;
            ASSERT_TRUE(store.GetDeviceByMac(mac, row));
            EXPECT_EQ(int{row.ap_status}, 1);
            EXPECT_EQ(IpBytesToText(std::span<const uint8_t, 4>(row.config.ip, 4)), device.at("ip"));
            EXPECT_EQ(int{row.ap_type}, device.at("type").get<int>());
            EXPECT_EQ(row.config.ap_name.Str(), device.at("name"));
            EXPECT_EQ(row.config.version.Str(), device.at("version"));
        }
        // Every configuration query was answered, so nothing is left to retransmit after a pass.
        WaitFor([&] { return engine.RetransmissionEntries().empty(); }, 10s);
        EXPECT_TRUE(engine.RetransmissionEntries().empty());
    }

    // The engine is gone: every device got the release message, once.
    const auto releases = [&](const nlohmann::json& device) { return device.at("requests").value("17", 0); };
    nlohmann::json devices;
    WaitFor(
        [&]
        {
            if (lan.Run("", {kSim, "control", control, "dump"}) != 0)
                return false;
            devices = ReadState(state);
            return devices.is_array() && std::all_of(devices.begin(), devices.end(),
                                                     [&](const nlohmann::json& d) { return releases(d) > 0; });
        },
        10s);
    ASSERT_EQ(devices.size(), kDevices);
    for (const nlohmann::json& device : devices)
        EXPECT_EQ(releases(device), 1) << device.at("mac") << " " << device.at("requests").dump();
    EXPECT_EQ(sim.Stop(), 0) << sim.Output();
}
