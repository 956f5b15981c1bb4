#include "link/local_adapter_library.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <set>

#include <gtest/gtest.h>

namespace
{

// The interfaces getifaddrs calls up and running with an IPv4 address, loopback aside.
std::set<std::string> UsableInterfaces()
{
    std::set<std::string> names;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return names;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next)
        if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET && !(entry->ifa_flags & IFF_LOOPBACK) &&
            (entry->ifa_flags & IFF_UP) && (entry->ifa_flags & IFF_RUNNING))
            names.insert(entry->ifa_name);
    freeifaddrs(list);
    return names;
}

} // namespace

TEST(LocalAdapterLibrary, MissingLibraryGivesHandleZeroAndNoAdapters)
{
    CLocalAdapterLibrary library;
    EXPECT_FALSE(library.Load("/nonexistent/libLocalAdapter.so"));
    EXPECT_EQ(library.Handle(), 0u);
    EXPECT_TRUE(library.QueryUsableAdapters().empty());
}

TEST(LocalAdapterLibrary, ListsTheUsableInterfacesWithAddressesAndMacs)
{
    CLocalAdapterLibrary library;
    ASSERT_TRUE(library.Load(FIELDMATE_BINARY_DIR "/libLocalAdapter.so"));
    EXPECT_NE(library.Handle(), 0u);
    const std::vector<local_adapter_info> adapters = library.QueryUsableAdapters();
    std::set<std::string> listed;
    for (const local_adapter_info& adapter : adapters)
    {
        listed.insert(adapter.name);
        EXPECT_EQ(adapter.next, nullptr);
        EXPECT_GT(adapter.address_count, 0);
        EXPECT_STRNE(adapter.addresses[0].ip, "0.0.0.0");
        EXPECT_NE(std::string(adapter.description).find(adapter.name), std::string::npos);
        EXPECT_EQ(AdapterMacText(adapter).size(), 17u);
    }
    EXPECT_EQ(listed, UsableInterfaces());
}

TEST(LocalAdapterLibrary, MacText)
{
    local_adapter_info adapter{};
    const uint8_t mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    std::copy(mac, mac + 6, adapter.mac);
    EXPECT_EQ(AdapterMacText(adapter), "00:1a:2b:3c:4d:5e");
}
