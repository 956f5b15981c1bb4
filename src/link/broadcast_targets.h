// Where a discover broadcast goes: one target per adapter address that can broadcast.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "adapter/local_adapter_api.h"
#include "link/address_text.h"

struct broadcast_target_info
{
    std::string address;       // the subnet broadcast address (UDP list) or the local address (raw list)
    MacBytes mac;              // the adapter's hardware address
    std::string name;          // the adapter name in the raw list, empty in the UDP list
    std::string local_address; // the adapter's address in the UDP list, empty in the raw list
};

// The UDP and raw lists, index by index for the same adapter address.
struct broadcast_target_lists
{
    std::vector<broadcast_target_info> udp;
    std::vector<broadcast_target_info> raw;
};

// The address with every bit that is 0 in the mask set to 1; none when the address or mask is
// empty or "0.0.0.0".
std::optional<std::string> SubnetBroadcastAddress(const std::string& ip, const std::string& mask);

// Every adapter address in order that has a broadcast address, once per broadcast address and MAC.
broadcast_target_lists BuildBroadcastTargets(const std::vector<local_adapter_info>& adapters);
