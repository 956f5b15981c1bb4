// The engine's small parts: broadcast targets, the local IP list, the announcement frame.
#include <gtest/gtest.h>

#include "link/broadcast_targets.h"
#include "link/local_ip_list.h"
#include "link/raw_frames.h"
#include "unit/link/engine_fixture.h"

namespace
{

const MacBytes kMacA{2, 0, 0, 0, 0, 0xa};
const MacBytes kMacB{2, 0, 0, 0, 0, 0xb};

std::vector<std::string> Ips(const std::vector<local_ip_info>& entries)
{
    std::vector<std::string> ips;
    for (const local_ip_info& entry : entries)
        ips.push_back(entry.ip);
    return ips;
}

} // namespace

TEST(BroadcastTargets, OnePerBroadcastAddressAndMacWithTheRawTargetBeside)
{
    const broadcast_target_lists lists = BuildBroadcastTargets({
        Adapter("eth0", kMacA,
                {{"10.77.0.1", "255.255.0.0"}, {"10.77.0.2", "255.255.0.0"}, {"192.168.7.9", "255.255.255.0"}}),
        Adapter("eth1", kMacB, {{"10.77.0.3", "255.255.0.0"}, {"0.0.0.0", "255.0.0.0"}, {"172.16.0.1", ""}}),
        Adapter("eth2", kMacB, {{"10.1.2.3", "0.0.0.0"}}),
    });
    ASSERT_EQ(lists.udp.size(), 3u);
    ASSERT_EQ(lists.raw.size(), 3u);
    const std::vector<std::tuple<std::string, std::string, MacBytes, std::string>> expected = {
        {"10.77.255.255", "10.77.0.1", kMacA, "eth0"},
        {"192.168.7.255", "192.168.7.9", kMacA, "eth0"},
        {"10.77.255.255", "10.77.0.3", kMacB, "eth1"},
    };
    for (size_t i = 0; i < expected.size(); ++i)
    {
        const auto& [broadcast, local, mac, name] = expected[i];
        EXPECT_EQ(lists.udp[i].address, broadcast);
        EXPECT_EQ(lists.udp[i].local_address, local);
        EXPECT_EQ(lists.udp[i].mac, mac);
        EXPECT_EQ(lists.udp[i].name, "");
        EXPECT_EQ(lists.raw[i].address, local);
        EXPECT_EQ(lists.raw[i].mac, mac);
        EXPECT_EQ(lists.raw[i].name, name);
        EXPECT_EQ(lists.raw[i].local_address, "");
    }
    EXPECT_EQ(SubnetBroadcastAddress("10.77.3.4", "255.255.255.252"), "10.77.3.7");
    EXPECT_EQ(SubnetBroadcastAddress("10.77.3.4", "255.255.255.255"), "10.77.3.4");
}

TEST(LocalIpList, RebuildDropsGoneAddressesAndAppendsNewOnesInAdapterOrder)
{
    CLocalIpList list;
    list.Rebuild({Adapter("eth0", kMacA, {{"10.77.0.1", "255.255.0.0"}, {"10.77.0.2", "255.255.0.0"}})});
    EXPECT_EQ(Ips(list.Entries()), (std::vector<std::string>{"10.77.0.1", "10.77.0.2"}));
    list.Rebuild({Adapter("eth1", kMacB, {{"192.168.1.5", "255.255.255.0"}}),
                  Adapter("eth0", kMacA, {{"10.77.0.2", "255.255.0.0"}})});
    EXPECT_EQ(Ips(list.Entries()), (std::vector<std::string>{"10.77.0.2", "192.168.1.5"}));
    list.Rebuild({});
    EXPECT_TRUE(list.Entries().empty());
}

TEST(LocalIpList, SameSubnetRule)
{
    struct Case
    {
        local_ip_info entry;
        std::string device;
        bool same;
    };
    const Case cases[] = {
        {{"10.77.0.1", "255.255.0.0", ""}, "10.77.200.3", true},
        {{"10.77.0.1", "255.255.255.0", ""}, "10.77.1.3", false},
        {{"10.77.0.1", "255.255.0.0", ""}, "0.0.0.0", false},
        {{"10.77.0.1", "255.255.0.0", ""}, "", false},
        {{"10.77.0.1", "0.0.0.0", ""}, "10.77.1.3", false},
        {{"10.77.0.1", "", ""}, "10.77.1.3", false},
        {{"0.0.0.0", "255.255.0.0", ""}, "0.0.1.3", false},
        {{"", "255.255.0.0", ""}, "10.77.1.3", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SameSubnet(c.entry, c.device), c.same) << c.entry.ip << "/" << c.entry.mask << " " << c.device;
}

TEST(RawFrames, AnnouncementFrameBytes)
{
    const auto frame = BuildAnnouncementFrame({0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e}, "10.77.0.1");
    const std::vector<uint8_t> expected = {
        0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 0x08, 0x06, // Ethernet
        0x00, 0x01, 0x08, 0x00, 0x06, 0x04, 0x00, 0x01,                                     // ARP request
        0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e, 10,   77,   0,    1,                            // sender
        0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 10,   77,   0,    1,                            // target
    };
    ASSERT_EQ(frame.size(), 60u);
    EXPECT_EQ(std::vector<uint8_t>(frame.begin(), frame.begin() + 42), expected);
    EXPECT_TRUE(std::all_of(frame.begin() + 42, frame.end(), [](uint8_t byte) { return byte == 0; }));
}

TEST(RawFrames, NothingGoesOutBeforeTheFirstRefreshOrWithoutTheAdaptersDevice)
{
    CRawFrames frames;
    const broadcast_target_info target{"10.77.0.1", kMacA, "fmtest-no-such-interface", ""};
    EXPECT_FALSE(frames.SendAnnouncement(target));
    frames.RefreshCaptureDevices();
    EXPECT_FALSE(frames.SendAnnouncement(target));
}
