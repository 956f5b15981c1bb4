#include "link/broadcast_targets.h"

#include <algorithm>
#include <cstring>

namespace
{

bool NoAddress(const std::string& text)
{
    return text.empty() || text == "0.0.0.0";
}

std::string NumberToIpText(uint32_t number)
{
    const Ipv4Bytes bytes = {static_cast<uint8_t>(number >> 24), static_cast<uint8_t>(number >> 16),
                             static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number)};
    return IpBytesToText(bytes);
}

// A zero-terminated text field of the adapter record, never read past its array.
template <size_t N>
std::string FieldText(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

} // namespace

std::optional<std::string> SubnetBroadcastAddress(const std::string& ip, const std::string& mask)
{
    if (NoAddress(ip) || NoAddress(mask))
        return std::nullopt;
    return NumberToIpText(IpTextToNumber(ip) | ~IpTextToNumber(mask));
}

broadcast_target_lists BuildBroadcastTargets(const std::vector<local_adapter_info>& adapters)
{
    broadcast_target_lists lists;
    for (const local_adapter_info& adapter : adapters)
    {
        MacBytes mac{};
        std::copy(adapter.mac, adapter.mac + mac.size(), mac.begin());
        const int count = std::clamp<int>(adapter.address_count, 0, LOCAL_ADAPTER_MAX_ADDRESSES);
        for (int i = 0; i < count; ++i)
        {
            const std::string ip = FieldText(adapter.addresses[i].ip);
            const std::optional<std::string> broadcast =
                SubnetBroadcastAddress(ip, FieldText(adapter.addresses[i].mask));
            if (!broadcast)
                continue;
            const bool known = std::any_of(lists.udp.begin(), lists.udp.end(),
                                           [&](const broadcast_target_info& target)
                                           { return target.address == *broadcast && target.mac == mac; });
            if (known)
                continue;
            lists.udp.push_back({*broadcast, mac, "", ip});
            lists.raw.push_back({ip, mac, FieldText(adapter.name), ""});
        }
    }
    return lists;
}
