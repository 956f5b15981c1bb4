#include "link/manage_ap_table.h"

#include <algorithm>
#include <cstring>

#include "link/address_text.h"
#include "link/device_reports.h"
#include "store/display_values.h"
#include "support/log.h"
#include "support/operate_character.h"

namespace
{

// A device text field in the local code page, its length byte the converted length.
ap_text_field<32> LocalTextField(const ap_text_field<32>& device)
{
    ap_text_field<32> local;
    local.Assign(DeviceTextToLocal(device.View()));
    return local;
}

std::string ConfigIpText(const ap_config_info& config)
{
    return IpBytesToText(std::span<const uint8_t, 4>(config.ip, 4));
}

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

ap_info_stu PendingRow(const manage_ap_info& record)
{
    ap_info_stu row;
    std::memset(&row, 0, sizeof(row));
    SetInfoMacText(row, record.mac);
    row.ap_type = record.ap_type;
    row.ap_status = kStatusPending;
    row.config.work_mode = record.work_mode;
    row.config.mode_btn_status = record.mode_btn_status;
    row.config.up_time = record.up_time;
    const Ipv4Bytes ip = IpTextToBytes(record.ip);
    std::copy(ip.begin(), ip.end(), row.config.ip);
    const std::string_view version = record.version.View();
    row.config.version.Assign(version.substr(0, version.find('\n')));
    row.config.ap_name = record.ap_name;
    row.config.ssid = record.ssid;
    row.config.channel = record.channel;
    row.config.bridge_transparent = record.bridge_transparent;
    row.config.tdmaEn = record.tdmaEn;
    return row;
}

} // namespace

bool CManageApTable::AddManageAp(const ap_packet_info& packet)
{
    const ap_packet_head head = ReadPacketHead(packet);
    if (std::all_of(std::begin(head.mac), std::end(head.mac), [](uint8_t byte) { return byte == 0; }))
    {
        LOG_ERROR("pack mac is 0");
        return false;
    }
    const std::string mac = PacketMacText(packet);
    const std::string ip = SenderIpText(packet);
    const ap_discover_info report = ReadDiscoverInfo(packet);

    std::lock_guard guard(m_lock);
    auto record =
        std::find_if(m_records.begin(), m_records.end(), [&](const manage_ap_info& r) { return r.mac == mac; });
    if (record == m_records.end())
    {
        manage_ap_info added{};
        added.ip = ip;
        added.mac = mac;
        added.ap_type = head.ap_type;
        added.state = kManageApPending;
        added.countdown = kHeartbeatCountdown;
        added.up_time = 0;
        added.version = report.version;
        // A version-only report reads as zero in every other field.
        if (ClaimedPayloadLength(packet) > kDiscoverVersionOnlyLength)
        {
            added.work_mode = report.work_mode;
            added.mode_btn_status = report.mode_btn_status;
            added.up_time = report.up_time;
            added.ap_name = LocalTextField(report.ap_name);
            added.ssid = LocalTextField(report.ssid);
            added.channel = report.channel;
            added.bridge_transparent = report.bridge_transparent;
            added.tdmaEn = report.tdmaEn;
        }
        m_records.push_back(added);
        return true;
    }
    record->ap_type = head.ap_type;
    record->countdown = kHeartbeatCountdown;
    record->version = report.version;
    return !(record->ip == ip && record->state == kManageApConfigured);
}

bool CManageApTable::UpdateManageApHeartbeat(const ap_packet_info& packet)
{
    const std::string mac = PacketMacText(packet);
    const ap_heartbeat_info heartbeat = ReadHeartbeatInfo(packet);
    std::lock_guard guard(m_lock);
    auto record =
        std::find_if(m_records.begin(), m_records.end(), [&](const manage_ap_info& r) { return r.mac == mac; });
    if (record == m_records.end())
        return false;
    record->countdown = kHeartbeatCountdown;
    record->up_time = heartbeat.up_time;
    record->version = heartbeat.version;
    record->ip = SenderIpText(packet);
    return true;
}

bool CManageApTable::ModifyManageApConfig(const ap_packet_info& packet)
{
    const ap_packet_head head = ReadPacketHead(packet);
    const ap_config_info config = ReadConfigInfo(packet);
    const std::string reportIp = ConfigIpText(config);
    const std::string mac = PacketMacText(packet);

    std::lock_guard guard(m_lock);
    int inUseIndex = -1;
    int macIndex = -1;
    for (size_t i = 0; i < m_records.size(); ++i)
    {
        if (m_records[i].ip == reportIp && m_records[i].state == kManageApConfigured)
            inUseIndex = static_cast<int>(i);
        if (m_records[i].mac == mac)
            macIndex = static_cast<int>(i);
    }
    LOG_INFO("ip:%s--ip_onlien:%d--index:%d, mac:%s--index:%d", reportIp.c_str(), inUseIndex >= 0 ? 1 : 0, inUseIndex,
             mac.c_str(), macIndex);
    if (macIndex < 0 || (inUseIndex >= 0 && inUseIndex != macIndex))
        return false;

    manage_ap_info& record = m_records[static_cast<size_t>(macIndex)];
    record.ap_type = head.ap_type;
    record.state = kManageApConfigured;
    record.up_time = config.up_time;
    record.ip = reportIp;
    record.version = config.version;
    record.bridge_transparent = config.bridge_transparent;
    record.tdmaEn = config.tdmaEn;
    return true;
}

void CManageApTable::UpdateManageApIp(const std::string& mac, const std::string& ip, const std::string& newIp)
{
    std::lock_guard guard(m_lock);
    LOG_INFO("UpdateManageApIp(ip:%s, mac:%s, ipUpdate:%s)", ip.c_str(), mac.c_str(), newIp.c_str());
    for (manage_ap_info& record : m_records)
        if (record.mac == mac && record.state == kManageApConfigured && record.ip == ip)
        {
            record.pending_ip = newIp != ip ? newIp : std::string();
            return;
        }
}

void CManageApTable::UpdateManageApIp(const std::string& mac, const std::string& ip)
{
    std::lock_guard guard(m_lock);
    LOG_INFO("Start UpdateManageApIp(mac:%s, ip:%s)", mac.c_str(), ip.c_str());
    for (manage_ap_info& record : m_records)
        if (record.mac == mac && record.ip == ip)
        {
            if (!record.pending_ip.empty() && record.pending_ip != record.ip)
            {
                record.ip = record.pending_ip;
                record.pending_ip.clear();
            }
            return;
        }
}

std::vector<manage_ap_info> CManageApTable::CheckHeartbeat()
{
    std::vector<manage_ap_info> removed;
    std::lock_guard guard(m_lock);
    for (auto record = m_records.begin(); record != m_records.end();)
    {
        if (record->countdown > 0)
        {
            if (record->state != kManageApPending)
                --record->countdown;
            ++record;
            continue;
        }
        LOG_INFO("manage ap heartbeat and delete ap info");
        removed.push_back(*record);
        record = m_records.erase(record);
    }
    return removed;
}

void CManageApTable::ForEachPending(const std::function<void(const manage_ap_info&)>& send)
{
    std::lock_guard guard(m_lock);
    for (const manage_ap_info& record : m_records)
        if (record.state == kManageApPending)
            send(record);
}

void CManageApTable::DeletePending()
{
    std::lock_guard guard(m_lock);
    std::erase_if(m_records, [](const manage_ap_info& record) { return record.state == kManageApPending; });
}

std::vector<std::string> CManageApTable::UnmanagedMacs(const std::vector<std::string>& macs) const
{
    std::vector<std::string> unmanaged;
    std::lock_guard guard(m_lock);
    for (const std::string& mac : macs)
        if (std::none_of(m_records.begin(), m_records.end(), [&](const manage_ap_info& r) { return r.mac == mac; }))
            unmanaged.push_back(mac);
    return unmanaged;
}

void CManageApTable::GetPendingApList(std::vector<ap_info_stu>& rows, int maximum,
                                      std::optional<std::string_view> filter) const
{
    rows.clear();
    std::lock_guard guard(m_lock);
    for (const manage_ap_info& record : m_records)
    {
        if (static_cast<int>(rows.size()) >= maximum)
            break;
        if (record.state != kManageApPending)
            continue;
        // Only matching records count towards the maximum, so a search finds pending devices that
        // stand behind non-matching ones.
        if (filter && !Contains(record.ip, *filter) && !Contains(record.mac, *filter) &&
            !Contains(record.version.View(), *filter))
            continue;
        rows.push_back(PendingRow(record));
    }
}

std::vector<manage_ap_info> CManageApTable::Snapshot() const
{
    std::lock_guard guard(m_lock);
    return m_records;
}
