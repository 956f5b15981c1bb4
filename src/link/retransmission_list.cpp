#include "link/retransmission_list.h"

#include <algorithm>

#include "support/log.h"

void CRetransmissionList::AddManageApRetransmission(const std::string& ip, std::span<const uint8_t> payload,
                                                    uint16_t msgType, const std::string& mac, int32_t remaining)
{
    std::lock_guard guard(m_lock);
    m_entries.push_back({remaining, ip, msgType, std::vector<uint8_t>(payload.begin(), payload.end()), mac});
}

void CRetransmissionList::DeleteManageApRetransmission(const std::string& ip, uint16_t msgType, const std::string& mac)
{
    std::lock_guard guard(m_lock);
    const auto match = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const retransmission_info& entry)
                                    { return entry.ip == ip && entry.msg_type == msgType && entry.mac == mac; });
    if (match != m_entries.end())
        m_entries.erase(match);
}

void CRetransmissionList::Pass(const std::function<void(const retransmission_info&)>& resend)
{
    std::lock_guard guard(m_lock);
    for (auto entry = m_entries.begin(); entry != m_entries.end();)
    {
        if (entry->remaining <= 0)
        {
            const std::string identity =
                "ip:" + entry->ip + ", mac:" + entry->mac + ", msg_type:" + std::to_string(entry->msg_type);
            LOG_INFO("Retransmission times exceeded:%s", identity.c_str());
            entry = m_entries.erase(entry);
            continue;
        }
        --entry->remaining;
        LOG_INFO("retransmission count:%d", int{entry->remaining});
        resend(*entry);
        ++entry;
    }
}

std::vector<retransmission_info> CRetransmissionList::Entries() const
{
    std::lock_guard guard(m_lock);
    return m_entries;
}
