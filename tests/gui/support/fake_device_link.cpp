#include "support/fake_device_link.h"

#include <algorithm>
#include <chrono>

#include "link/address_text.h"

void CFakeDeviceLink::Record(const std::string& call)
{
    std::lock_guard guard(m_lock);
    m_calls.push_back(call);
}

void CFakeDeviceLink::GetPendingApList(std::vector<ap_info_stu>& rows, int maximum,
                                       std::optional<std::string_view> filter)
{
    std::lock_guard guard(m_lock);
    m_calls.push_back("GetPendingApList");
    m_lastMaximum = maximum;
    m_lastFilter = filter ? std::optional<std::string>(std::string(*filter)) : std::nullopt;
    rows.clear();
    for (const ap_info_stu& row : m_pending)
    {
        if (static_cast<int>(rows.size()) >= maximum)
            break;
        const auto holds = [&](const std::string& text) { return text.find(*filter) != std::string::npos; };
        if (filter && !holds(IpBytesToText(row.config.ip)) && !holds(InfoMacText(row)) &&
            !holds(row.config.version.Str()))
            continue;
        rows.push_back(row);
    }
}

bool CFakeDeviceLink::SendPacketMutilcast(const std::string& ip, uint16_t msgType, const void* payload, size_t length,
                                          const std::string& mac, bool retransmit)
{
    std::unique_lock guard(m_lock);
    ++m_entered;
    m_changed.notify_all();
    m_changed.wait(guard, [this] { return !m_hold; });
    const auto* bytes = static_cast<const uint8_t*>(payload);
    m_sent.push_back({ip, msgType, std::vector<uint8_t>(bytes, bytes + length), mac, retransmit});
    m_calls.push_back("SendPacketMutilcast");
    return true;
}

void CFakeDeviceLink::SetPending(std::vector<ap_info_stu> rows)
{
    std::lock_guard guard(m_lock);
    m_pending = std::move(rows);
}

std::vector<std::string> CFakeDeviceLink::Calls() const
{
    std::lock_guard guard(m_lock);
    return m_calls;
}

int CFakeDeviceLink::CallCount(const std::string& name) const
{
    std::lock_guard guard(m_lock);
    return static_cast<int>(std::count(m_calls.begin(), m_calls.end(), name));
}

std::vector<SentRequest> CFakeDeviceLink::Sent() const
{
    std::lock_guard guard(m_lock);
    return m_sent;
}

int CFakeDeviceLink::LastPendingMaximum() const
{
    std::lock_guard guard(m_lock);
    return m_lastMaximum;
}

std::optional<std::string> CFakeDeviceLink::LastPendingFilter() const
{
    std::lock_guard guard(m_lock);
    return m_lastFilter;
}

void CFakeDeviceLink::ClearRecords()
{
    std::lock_guard guard(m_lock);
    m_calls.clear();
    m_sent.clear();
    m_lastMaximum = -1;
    m_lastFilter.reset();
    m_entered = 0;
}

void CFakeDeviceLink::HoldSends(bool hold)
{
    std::lock_guard guard(m_lock);
    m_hold = hold;
    m_changed.notify_all();
}

bool CFakeDeviceLink::WaitForSendsEntered(int count)
{
    std::unique_lock guard(m_lock);
    return m_changed.wait_for(guard, std::chrono::seconds(5), [&] { return m_entered >= count; });
}
