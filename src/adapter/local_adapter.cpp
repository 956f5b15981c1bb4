// libLocalAdapter.so: lists the machine's network interfaces with their MAC and IPv4 addresses.
#include <arpa/inet.h>
#include <cstring>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <mutex>
#include <net/if.h>
#include <netinet/in.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "adapter/local_adapter_api.h"

namespace
{

std::mutex g_lock;
local_adapter_info* g_chain = nullptr;

void FreeChain()
{
    while (g_chain != nullptr)
    {
        local_adapter_info* next = g_chain->next;
        delete g_chain;
        g_chain = next;
    }
}

void CopyText(char* target, size_t size, const std::string& text)
{
    std::strncpy(target, text.c_str(), size - 1);
    target[size - 1] = '\0';
}

bool PathExists(const std::string& path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0;
}

std::string DescribeInterface(const std::string& name)
{
    const std::string sys = "/sys/class/net/" + name;
    const char* kind = "Ethernet adapter";
    if (PathExists(sys + "/wireless") || PathExists(sys + "/phy80211"))
        kind = "Wireless adapter";
    else if (PathExists(sys + "/bridge"))
        kind = "Bridge";
    else if (!PathExists(sys + "/device"))
        kind = "Virtual adapter";
    return std::string(kind) + " " + name;
}

std::string AddressText(const sockaddr* address)
{
    char text[INET_ADDRSTRLEN] = "0.0.0.0";
    if (address != nullptr && address->sa_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof(text));
    return text;
}

local_adapter_info* FindOrAdd(std::vector<local_adapter_info*>& adapters, const char* name)
{
    for (local_adapter_info* adapter : adapters)
        if (std::strcmp(adapter->name, name) == 0)
            return adapter;
    auto* adapter = new local_adapter_info{};
    CopyText(adapter->name, sizeof(adapter->name), name);
    CopyText(adapter->description, sizeof(adapter->description), DescribeInterface(name));
    adapters.push_back(adapter);
    return adapter;
}

} // namespace

extern "C" local_adapter_info* GetLocalAdapterInfo(void)
{
    std::lock_guard guard(g_lock);
    FreeChain();
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return nullptr;

    std::vector<local_adapter_info*> adapters;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next)
    {
        if (entry->ifa_addr == nullptr || (entry->ifa_flags & IFF_LOOPBACK) != 0)
            continue;
        local_adapter_info* adapter = FindOrAdd(adapters, entry->ifa_name);
        // Up with a carrier: an unplugged cable takes the adapter out of use.
        const bool usable = (entry->ifa_flags & IFF_UP) != 0 && (entry->ifa_flags & IFF_RUNNING) != 0;
        adapter->state = usable ? 1 : 0;
        if (entry->ifa_addr->sa_family == AF_PACKET)
        {
            const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
            std::memcpy(adapter->mac, link->sll_addr, link->sll_halen < 8 ? link->sll_halen : 8);
        }
        else if (entry->ifa_addr->sa_family == AF_INET && adapter->address_count < LOCAL_ADAPTER_MAX_ADDRESSES)
        {
            local_adapter_address& address = adapter->addresses[adapter->address_count++];
            CopyText(address.ip, sizeof(address.ip), AddressText(entry->ifa_addr));
            CopyText(address.mask, sizeof(address.mask), AddressText(entry->ifa_netmask));
            CopyText(address.other, sizeof(address.other), AddressText(entry->ifa_broadaddr));
        }
    }
    freeifaddrs(list);

    for (auto it = adapters.rbegin(); it != adapters.rend(); ++it)
    {
        (*it)->next = g_chain;
        g_chain = *it;
    }
    return g_chain;
}

extern "C" void ClearLocalAdapterInfo(void)
{
    std::lock_guard guard(g_lock);
    FreeChain();
}
