// The local IP list: every IPv4 address of the local adapters, and the same-subnet rule that picks
// the addresses a request to one device leaves from.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "adapter/local_adapter_api.h"

struct local_ip_info
{
    std::string ip;
    std::string mask;
    std::string other; // kept as the adapter gave it, not used
};

// Whether a request to deviceIp leaves from entry: no address of the two and no mask empty or
// "0.0.0.0", and the same network under the entry's mask.
bool SameSubnet(const local_ip_info& entry, const std::string& deviceIp);

class CLocalIpList
{
public:
    // Drops the entries whose address no adapter holds any more, then appends each adapter address
    // that the list did not hold before, in adapter order.
    void Rebuild(const std::vector<local_adapter_info>& adapters);

    // Calls send for each entry on deviceIp's subnet, in order, all under the list's lock: every
    // sender of the process is serialised here.
    void ForEachSameSubnet(const std::string& deviceIp, const std::function<void(const local_ip_info&)>& send);

    std::vector<local_ip_info> Entries() const;

private:
    mutable std::mutex m_lock;
    std::vector<local_ip_info> m_entries;
};
