// The device store at 1,000, 10,000 and 100,000 devices: the page query next to the plain full scan
// it replaces, and the rates of the engine's two most frequent writes.
#include <clocale>
#include <map>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "common/temp_dir.h"
#include "store/sql_management.h"
#include "unit/store/full_scan_device_page.h"
#include "unit/store/store_test_support.h"

namespace
{

constexpr int kPageSize = 30;
constexpr int kSortByAddress = 1;
// Matches about one device in nine ("net-1", "net-10".., "net-1000"..).
const std::string kSearch = "net-1";

struct filled_store
{
    CTempDir directory;
    std::unique_ptr<CSqlManagement> store;
    std::unique_ptr<CFullScanDevicePage> fullScan;
};

// One store per size, filled once and kept for every benchmark of that size.
filled_store& StoreWith(int devices)
{
    static std::map<int, std::unique_ptr<filled_store>> stores;
    std::unique_ptr<filled_store>& entry = stores[devices];
    if (!entry)
    {
        setlocale(LC_ALL, "C.UTF-8");
        entry = std::make_unique<filled_store>();
        entry->store = std::make_unique<CSqlManagement>(entry->directory.Path());
        for (int i = 0; i < devices; ++i)
            entry->store->SaveDeviceConfig(TestDevice(i));
        // Every tenth device offline, so that the online count has work to do.
        for (int i = 0; i < devices; i += 10)
            entry->store->SetDeviceStatus(TestMac(i), 0);
        entry->fullScan = std::make_unique<CFullScanDevicePage>(entry->store->DatabasePath());
    }
    return *entry;
}

// The last page of the query, from the store's own page count.
int LastPage(filled_store& filled, const std::string& search)
{
    std::vector<ap_info_stu> list;
    int pageCount = 0;
    int online = 0;
    filled.store->QueryDevicePage(kSortByAddress, list, pageCount, online, kPageSize, 1, true, search);
    return pageCount;
}

void Paged(benchmark::State& state, int devices, bool lastPage, const std::string& search)
{
    filled_store& filled = StoreWith(devices);
    const int page = lastPage ? LastPage(filled, search) : 1;
    size_t rows = 0;
    for (auto _ : state)
    {
        std::vector<ap_info_stu> list;
        int pageCount = 0;
        int online = 0;
        filled.store->QueryDevicePage(kSortByAddress, list, pageCount, online, kPageSize, page, true, search);
        rows = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["page"] = page;
    state.counters["rows"] = static_cast<double>(rows);
}

void FullScan(benchmark::State& state, int devices, bool lastPage, const std::string& search)
{
    filled_store& filled = StoreWith(devices);
    const int page = lastPage ? LastPage(filled, search) : 1;
    size_t rows = 0;
    for (auto _ : state)
    {
        const full_scan_page result = filled.fullScan->Query(kSortByAddress, kPageSize, page, true, search);
        rows = result.rows.size();
        benchmark::DoNotOptimize(result.rows.data());
    }
    state.counters["page"] = page;
    state.counters["rows"] = static_cast<double>(rows);
}

// A configuration report of a device already stored, the usual case: every device re-reports.
void SaveConfig(benchmark::State& state, int devices)
{
    filled_store& filled = StoreWith(devices);
    int next = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(filled.store->SaveDeviceConfig(TestDevice(next)));
        next = (next + 1) % devices;
    }
    state.SetItemsProcessed(state.iterations());
}

void Heartbeat(benchmark::State& state, int devices)
{
    filled_store& filled = StoreWith(devices);
    const std::vector<std::string> macs = [devices]
    {
        std::vector<std::string> all;
        for (int i = 0; i < devices; ++i)
            all.push_back(TestMac(i));
        return all;
    }();
    uint32_t upTime = 0;
    for (auto _ : state)
    {
        const std::string& mac = macs[upTime % macs.size()];
        benchmark::DoNotOptimize(filled.store->UpdateHeartbeat(mac, "10.0.0.1", ++upTime));
    }
    state.SetItemsProcessed(state.iterations());
}

void RegisterAll()
{
    for (int devices : {1000, 10000, 100000})
    {
        const std::string size = "/devices:" + std::to_string(devices);
        for (bool lastPage : {false, true})
            for (const std::string& search : {std::string(), kSearch})
            {
                const std::string what = size + (lastPage ? "/page:last" : "/page:1") +
                                         (search.empty() ? "/search:none" : "/search:'" + search + "'");
                benchmark::RegisterBenchmark(("QueryDevicePage" + what).c_str(), Paged, devices, lastPage, search)
                    ->Unit(benchmark::kMillisecond);
                benchmark::RegisterBenchmark(("FullScanBaseline" + what).c_str(), FullScan, devices, lastPage, search)
                    ->Unit(benchmark::kMillisecond);
            }
        benchmark::RegisterBenchmark(("SaveDeviceConfig" + size).c_str(), SaveConfig, devices)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("UpdateHeartbeat" + size).c_str(), Heartbeat, devices)
            ->Unit(benchmark::kMicrosecond);
    }
}

} // namespace

int main(int argc, char** argv)
{
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
