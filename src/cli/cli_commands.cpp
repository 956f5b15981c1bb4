#include "cli/cli_commands.h"

#include <chrono>
#include <cstdio>
#include <poll.h>

#include "cli/device_output.h"
#include "link/transmit_manage.h"
#include "store/sql_management.h"
#include "support/log.h"

namespace
{

using Clock = std::chrono::steady_clock;

// The status page's search: a discover broadcast now and every 3 s, for 30 s.
constexpr int kBroadcastEverySeconds = 3;
constexpr int kSearchSeconds = 30;
// The store's IP sort code: devices are listed in address order.
constexpr int kSortByIp = 1;
constexpr int kAllRows = 1000000;

// Sleeps until the deadline; false when a stop signal came first.
bool WaitUntil(Clock::time_point deadline, int stopFd)
{
    while (true)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return true;
        pollfd stop{stopFd, POLLIN, 0};
        const int ready = poll(&stop, stopFd >= 0 ? 1 : 0, static_cast<int>(left));
        if (ready > 0)
            return false;
    }
}

// The steps that open a search on the status page, then its first broadcast.
void StartSearch(AcTransmitManage& engine)
{
    engine.RefreshCaptureDevices();
    engine.ReleasePendingManageAp();
    engine.DeletePendingManageAp();
    engine.SyncStoreWithManageAp();
    engine.SendPacketBroadcast();
}

std::vector<ap_info_stu> StoredDevices(CSqlManagement& store)
{
    std::vector<ap_info_stu> devices;
    int pages = 0;
    int online = 0;
    store.QueryDevicePage(kSortByIp, devices, pages, online, kAllRows, 1, true, "");
    return devices;
}

} // namespace

int RunDiscover(AcTransmitManage& engine, CSqlManagement& store, const CliOptions& options, int stopFd)
{
    LOG_INFO("fieldmate-cli discover, %d seconds", options.seconds);
    const auto start = Clock::now();
    StartSearch(engine);
    for (int second = 1; second <= options.seconds; ++second)
    {
        if (!WaitUntil(start + std::chrono::seconds(second), stopFd))
            break;
        if (second % kBroadcastEverySeconds == 0 && second < options.seconds)
            engine.SendPacketBroadcast();
    }
    std::vector<CliDeviceRow> rows;
    for (const ap_info_stu& device : StoredDevices(store))
        rows.push_back({device, false});
    std::vector<ap_info_stu> pending;
    engine.GetPendingApList(pending, kAllRows);
    for (const ap_info_stu& device : pending)
        rows.push_back({device, true});
    const std::string output = FormatDevices(rows, options.format);
    std::fwrite(output.data(), 1, output.size(), stdout);
    std::fflush(stdout);
    return kExitOk;
}

int RunMonitor(AcTransmitManage& engine, CSqlManagement& store, const CliOptions& options, int stopFd)
{
    LOG_INFO("fieldmate-cli monitor, %d seconds", options.seconds);
    const auto start = Clock::now();
    if (options.search)
        StartSearch(engine);
    for (int second = 1; options.seconds == 0 || second <= options.seconds; ++second)
    {
        if (!WaitUntil(start + std::chrono::seconds(second), stopFd))
            break;
        if (options.search && second % kBroadcastEverySeconds == 0 && second < kSearchSeconds)
            engine.SendPacketBroadcast();
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        const std::string line = MonitorLine(elapsed, StoredDevices(store));
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fflush(stdout);
    }
    return kExitOk;
}

int RunAdapters(AcTransmitManage& engine, const CliOptions& options)
{
    std::vector<local_adapter_info> adapters;
    engine.GetLocalAdapterList(adapters);
    const std::string output = FormatAdapters(adapters, options.format);
    std::fwrite(output.data(), 1, output.size(), stdout);
    return kExitOk;
}
