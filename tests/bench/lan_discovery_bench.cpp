// The tool discovering 1,000 simulated devices in a test LAN: time from the first discover broadcast
// until every device is in the store, the tool's CPU time meanwhile, and the datagrams per second it
// handled, then the same figures for ten seconds of heartbeats. Needs root; prints its figures.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

#include "common/temp_dir.h"
#include "common/test_lan.h"
#include "common/wait_for.h"
#include "lan/engine_lan_support.h"
#include "link/transmit_manage.h"
#include "store/sql_management.h"
#include "support/log.h"

namespace
{

using Clock = std::chrono::steady_clock;

struct UdpCounters
{
    long long in = 0;
    long long out = 0;
};

// The calling thread's namespace's UDP counters.
UdpCounters ReadUdpCounters()
{
    std::ifstream snmp("/proc/thread-self/net/snmp");
    std::string header;
    std::string line;
    while (std::getline(snmp, line))
    {
        if (line.rfind("Udp: ", 0) != 0)
            continue;
        if (header.empty())
        {
            header = line;
            continue;
        }
        std::istringstream names(header), values(line);
        std::string name, value;
        UdpCounters counters;
        while (names >> name && values >> value)
        {
            if (name == "InDatagrams")
                counters.in = std::stoll(value);
            else if (name == "OutDatagrams")
                counters.out = std::stoll(value);
        }
        return counters;
    }
    return {};
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int StoredDevices(CSqlManagement& store)
{
    std::vector<ap_info_stu> page;
    int pages = 0;
    int online = 0;
    store.QueryDevicePage(1, page, pages, online, 1, 1, true, "");
    return pages;
}

} // namespace

int main(int argc, char* argv[])
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    std::string why;
    if (!CTestLan::Available(&why))
    {
        std::printf("lan_discovery: skipped, %s\n", why.c_str());
        return 0;
    }
    CTempDir program;
    OpenLog(program.Path());
    CSqlManagement store(program.Path());
    CTestLan lan("bench");
    if (!lan.IsUp())
    {
        std::printf("lan_discovery: the test LAN did not come up\n");
        return 1;
    }
    CLanProcess sim = lan.Start("dev1", {FIELDMATE_BINARY_DIR "/fieldmate-sim", "--count", std::to_string(count)});
    if (!WaitFor([&sim] { return sim.Output().find("devices on eth0") != std::string::npos; },
                 std::chrono::seconds(30)))
    {
        std::printf("lan_discovery: the simulator did not start: %s\n", sim.Output().c_str());
        return 1;
    }

    int stored = 0;
    double firstSeconds = -1, halfSeconds = -1, allSeconds = -1, discoveryCpu = 0, steadyCpu = 0;
    UdpCounters discoveryTraffic, steadyTraffic;
    {
        CNamespaceScope tool(lan.Namespace("tool"));
        if (!tool.Entered())
            return 1;
        AcTransmitManage engine(nullptr, &store, FIELDMATE_BINARY_DIR "/libLocalAdapter.so");
        if (!engine.Init(kDefaultRetransmissionMax, kDefaultRetransmissionInterval))
        {
            std::printf("lan_discovery: Init failed: %s\n", engine.LastInitFailure().c_str());
            return 1;
        }
        const UdpCounters before = ReadUdpCounters();
        const double cpuBefore = CpuSeconds();
        const auto start = Clock::now();
        auto elapsed = [&start] { return std::chrono::duration<double>(Clock::now() - start).count(); };
        engine.SendPacketBroadcast();
        int broadcasts = 1;
        while (elapsed() < 60.0)
        {
            // The status page's search: a broadcast every 3 s.
            if (elapsed() >= 3.0 * broadcasts)
            {
                engine.SendPacketBroadcast();
                ++broadcasts;
            }
            stored = StoredDevices(store);
            if (stored > 0 && firstSeconds < 0)
                firstSeconds = elapsed();
            if (stored * 2 >= count && halfSeconds < 0)
                halfSeconds = elapsed();
            if (stored >= count)
            {
                allSeconds = elapsed();
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        discoveryCpu = CpuSeconds() - cpuBefore;
        const UdpCounters after = ReadUdpCounters();
        discoveryTraffic = {after.in - before.in, after.out - before.out};

        // Then ten seconds of nothing but heartbeats and their acknowledgements.
        const double steadyCpuBefore = CpuSeconds();
        std::this_thread::sleep_for(std::chrono::seconds(10));
        steadyCpu = CpuSeconds() - steadyCpuBefore;
        const UdpCounters later = ReadUdpCounters();
        steadyTraffic = {later.in - after.in, later.out - after.out};
        stored = StoredDevices(store);
    }
    sim.Stop();

    std::printf("lan_discovery: %d simulated devices, one tool, default retransmission settings\n", count);
    if (allSeconds < 0)
        std::printf("  NOT all in the store after 60 s: %d of %d\n", stored, count);
    else
        std::printf("  all %d in the store after      %8.3f s (first %.3f s, half %.3f s)\n", count, allSeconds,
                    firstSeconds, halfSeconds);
    const double window = allSeconds < 0 ? 60.0 : allSeconds;
    std::printf("  tool CPU time meanwhile        %8.3f s (%.0f %% of one core)\n", discoveryCpu,
                100.0 * discoveryCpu / window);
    std::printf("  datagrams handled meanwhile    %8lld in, %lld out: %.0f per second\n", discoveryTraffic.in,
                discoveryTraffic.out, static_cast<double>(discoveryTraffic.in + discoveryTraffic.out) / window);
    std::printf("  then 10 s of heartbeats        %8lld in, %lld out: %.0f per second, CPU %.3f s (%.1f %%)\n",
                steadyTraffic.in, steadyTraffic.out, static_cast<double>(steadyTraffic.in + steadyTraffic.out) / 10.0,
                steadyCpu, 10.0 * steadyCpu);
    std::printf("  devices still stored after it  %8d\n", stored);
    return allSeconds < 0 ? 1 : 0;
}
