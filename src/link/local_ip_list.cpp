#include "link/local_ip_list.h"

#include <algorithm>
#include <cstring>

#include "link/address_text.h"

namespace
{

bool NoAddress(const std::string& text)
{
    return text.empty() || text == "0.0.0.0";
}

template <size_t N>
std::string FieldText(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

int AddressCount(const local_adapter_info& adapter)
{
    return std::clamp<int>(adapter.address_count, 0, LOCAL_ADAPTER_MAX_ADDRESSES);
}

} // namespace

bool SameSubnet(const local_ip_info& entry, const std::string& deviceIp)
{
    if (NoAddress(entry.ip) || NoAddress(entry.mask) || NoAddress(deviceIp))
        return false;
    const uint32_t mask = IpTextToNumber(entry.mask);
    return (IpTextToNumber(entry.ip) & mask) == (IpTextToNumber(deviceIp) & mask);
}

void CLocalIpList::Rebuild(const std::vector<local_adapter_info>& adapters)
{
    std::lock_guard guard(m_lock);
    const auto heldByAdapter = [&adapters](const std::string& ip)
    {
        for (const local_adapter_info& adapter : adapters)
            for (int i = 0; i < AddressCount(adapter); ++i)
                if (FieldText(adapter.addresses[i].ip) == ip)
                    return true;
        return false;
    };
    std::erase_if(m_entries, [&](const local_ip_info& entry) { return !heldByAdapter(entry.ip); });

    const size_t before = m_entries.size();
    for (const local_adapter_info& adapter : adapters)
        for (int i = 0; i < AddressCount(adapter); ++i)
        {
            local_ip_info entry{FieldText(adapter.addresses[i].ip), FieldText(adapter.addresses[i].mask),
                                FieldText(adapter.addresses[i].other)};
            const auto old = m_entries.begin() + static_cast<std::ptrdiff_t>(before);
            if (std::none_of(m_entries.begin(), old, [&](const local_ip_info& held) { return held.ip == entry.ip; }))
                m_entries.push_back(std::move(entry));
        }
}

void CLocalIpList::ForEachSameSubnet(const std::string& deviceIp, const std::function<void(const local_ip_info&)>& send)
{
    std::lock_guard guard(m_lock);
    for (const local_ip_info& entry : m_entries)
        if (SameSubnet(entry, deviceIp))
            send(entry);
}

std::vector<local_ip_info> CLocalIpList::Entries() const
{
    std::lock_guard guard(m_lock);
    return m_entries;
}
