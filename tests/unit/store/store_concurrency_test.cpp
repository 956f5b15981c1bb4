#include <atomic>
#include <latch>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "store/display_values.h"
#include "store/sql_management.h"
#include "unit/store/store_test_support.h"

namespace
{

constexpr int kDevices = 40;
constexpr int kWriters = 3;
constexpr int kRounds = 25;
// Devices that one thread keeps adding and deleting while the others work.
constexpr int kChurnFirst = 200;
constexpr int kChurnDevices = 8;

// Device number's record at a generation: every field that the writers set tells the same
// generation, so a row mixed from two writes shows.
ap_info_stu DeviceAt(int number, int generation)
{
    ap_info_stu device = TestDevice(number);
    device.config.ap_name.Assign("dev " + std::to_string(number) + " gen " + std::to_string(generation));
    device.config.ssid.Assign("gen " + std::to_string(generation));
    device.config.version.Assign("V" + std::to_string(generation));
    device.config.vlan_id = static_cast<uint16_t>(generation);
    device.config.wpapsk_key_time = static_cast<uint32_t>(generation);
    return device;
}

// The generation a row tells, or -1 when its fields disagree or do not belong to its MAC.
int GenerationOf(const ap_info_stu& device)
{
    const int generation = device.config.vlan_id;
    const std::string mac = InfoMacText(device);
    const int number = std::stoi(mac.substr(9, 2) + mac.substr(12, 2) + mac.substr(15, 2), nullptr, 16);
    const bool agree = device.config.ap_name.View() == DeviceAt(number, generation).config.ap_name.View() &&
                       device.config.ssid.View() == "gen " + std::to_string(generation) &&
                       device.config.version.View() == "V" + std::to_string(generation) &&
                       device.config.wpapsk_key_time == static_cast<uint32_t>(generation);
    return agree ? generation : -1;
}

class StoreConcurrency : public StoreTest
{
};

} // namespace

TEST_F(StoreConcurrency, WritersAndReadersOnManyThreadsKeepEveryRowIntact)
{
    std::latch start(kWriters + 5);
    std::atomic<int> writersLeft{kWriters};
    std::atomic<int> badRows{0};
    std::atomic<int> failedCalls{0};
    std::atomic<int> readsDuringWrites{0};
    std::vector<std::thread> threads;

    // Writers store the same devices, so their adds of a new MAC race each other.
    for (int w = 0; w < kWriters; ++w)
        threads.emplace_back(
            [&, w]
            {
                start.arrive_and_wait();
                for (int round = 0; round < kRounds; ++round)
                    for (int i = 0; i < kDevices; ++i)
                        if (!Store().SaveDeviceConfig(DeviceAt(i, round * kWriters + w)))
                            ++failedCalls;
                --writersLeft;
            });
    // Heartbeats and statuses touch their own columns of the same rows.
    threads.emplace_back(
        [&]
        {
            start.arrive_and_wait();
            for (int n = 0; writersLeft > 0; ++n)
            {
                Store().UpdateHeartbeat(TestMac(n % kDevices), "10.1.0." + std::to_string(n % 250), n);
                Store().SetDeviceStatus(TestMac((n + 7) % kDevices), kStatusRestarting);
            }
        });
    threads.emplace_back(
        [&]
        {
            start.arrive_and_wait();
            for (int n = 0; writersLeft > 0; ++n)
            {
                const int number = kChurnFirst + n % kChurnDevices;
                if (!Store().SaveDeviceConfig(DeviceAt(number, n)) || !Store().DeleteDevice(TestMac(number)))
                    ++failedCalls;
            }
        });
    // Readers check each row they get, and that no MAC appears twice.
    for (int r = 0; r < 3; ++r)
        threads.emplace_back(
            [&, r]
            {
                start.arrive_and_wait();
                for (int n = 0; writersLeft > 0; ++n)
                {
                    std::vector<ap_info_stu> page;
                    int pageCount = 0;
                    int onlineCount = 0;
                    const bool searching = n % 3 == 0;
                    if (!Store().QueryDevicePage((n + r) % 14, page, pageCount, onlineCount, 16, 1 + n % 3, n % 2,
                                                 searching ? "gen" : ""))
                        ++failedCalls;
                    std::set<std::string> macs;
                    for (const ap_info_stu& device : page)
                        if (GenerationOf(device) < 0 || !macs.insert(InfoMacText(device)).second)
                            ++badRows;
                    if (onlineCount > kDevices + kChurnDevices || pageCount > 4)
                        ++badRows;

                    ap_info_stu device;
                    if (!Store().GetDeviceByMac(TestMac(n % kDevices), device))
                        ++failedCalls;
                    else if (device.mac[0] != '\0' && GenerationOf(device) < 0)
                        ++badRows;

                    std::vector<std::string> all;
                    if (!Store().ListDeviceMacs(all))
                        ++failedCalls;
                    if (std::set<std::string>(all.begin(), all.end()).size() != all.size())
                        ++badRows;
                    if (writersLeft > 0)
                        ++readsDuringWrites;
                }
            });
    for (std::thread& thread : threads)
        thread.join();

    EXPECT_EQ(badRows, 0);
    EXPECT_EQ(failedCalls, 0);
    EXPECT_GT(readsDuringWrites, 0);

    // Every device once, with a generation of the writers' last round; the churned devices gone.
    std::vector<std::string> macs;
    ASSERT_TRUE(Store().ListDeviceMacs(macs));
    EXPECT_EQ(macs.size(), static_cast<size_t>(kDevices));
    EXPECT_EQ(std::set<std::string>(macs.begin(), macs.end()).size(), static_cast<size_t>(kDevices));
    for (int i = 0; i < kDevices; ++i)
    {
        ap_info_stu device;
        ASSERT_TRUE(Store().GetDeviceByMac(TestMac(i), device));
        EXPECT_GE(GenerationOf(device), (kRounds - 1) * kWriters) << TestMac(i);
    }
}
