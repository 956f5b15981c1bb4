#include "sim/sim_device.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "link/message_types.h"

namespace
{

bool AllZero(std::span<const uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

// Payload offsets of the requests that carry parts of the record.
constexpr size_t kIpApplyByte = 21;
constexpr size_t kVlanPartSize = 10;
constexpr size_t kVlanApplyWithIpByte = 8;
constexpr size_t kExtensionSize = 14;
constexpr size_t kExtensionDfsByte = 12;
constexpr size_t kUpgradeNameSize = 260;
constexpr size_t kUpgradeRecordSize = 268;
constexpr size_t kBridgeRecordSize = 328;

template <size_t N>
void CopyText(ap_text_field<N>& field, std::span<const uint8_t> bytes, uint8_t length)
{
    field.Assign(std::string_view(reinterpret_cast<const char*>(bytes.data()), std::min<size_t>(length, N)));
}

} // namespace

int PrefixFromMask(const Ipv4Bytes& mask)
{
    int prefix = 0;
    for (uint8_t byte : mask)
        for (int bit = 7; bit >= 0 && (byte >> bit) & 1; --bit)
            ++prefix;
    return prefix;
}

Ipv4Bytes MaskFromPrefix(int prefixLength)
{
    const uint32_t bits = prefixLength <= 0 ? 0 : 0xffffffffu << (32 - std::min(prefixLength, 32));
    return {static_cast<uint8_t>(bits >> 24), static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 8),
            static_cast<uint8_t>(bits)};
}

CSimDevice::CSimDevice(const MacBytes& mac, uint16_t model, const ap_config_info& config, uint32_t upTimeAtStart)
    : m_mac(mac), m_macText(MacBytesToText(mac)), m_model(model), m_config(config), m_factory(config),
      m_startedAt(-static_cast<double>(upTimeAtStart))
{
    std::memcpy(m_address.data(), m_config.ip, 4);
}

Ipv4Bytes CSimDevice::Ip() const
{
    return m_address;
}

int CSimDevice::PrefixLength() const
{
    Ipv4Bytes mask;
    std::memcpy(mask.data(), m_config.ip_mask, 4);
    return PrefixFromMask(mask);
}

uint32_t CSimDevice::UpTime(double now) const
{
    return now <= m_startedAt ? 0 : static_cast<uint32_t>(std::floor(now - m_startedAt));
}

ap_discover_info CSimDevice::DiscoverReport(double now) const
{
    ap_discover_info report{};
    report.version = m_config.version;
    report.work_mode = m_config.work_mode;
    report.mode_btn_status = m_config.mode_btn_status;
    report.up_time = UpTime(now);
    report.ap_name = m_config.ap_name;
    report.ssid = m_config.ssid;
    report.channel = m_config.channel;
    report.bridge_transparent = m_config.bridge_transparent;
    report.tdmaEn = m_config.tdmaEn;
    return report;
}

ap_heartbeat_info CSimDevice::Heartbeat(double now) const
{
    ap_heartbeat_info heartbeat{};
    heartbeat.version = m_config.version;
    heartbeat.up_time = UpTime(now);
    return heartbeat;
}

ap_config_info CSimDevice::ConfigReport(double now) const
{
    ap_config_info report = m_config;
    report.ap_type = m_model;
    report.up_time = UpTime(now);
    return report;
}

void CSimDevice::AddTool(const Ipv4Bytes& ip, double now)
{
    for (SimTool& tool : m_tools)
        if (tool.ip == ip)
        {
            tool.lastAck = now;
            return;
        }
    m_tools.push_back({ip, now});
}

void CSimDevice::RemoveTool(const Ipv4Bytes& ip)
{
    std::erase_if(m_tools, [&ip](const SimTool& tool) { return tool.ip == ip; });
}

void CSimDevice::ForgetStaleTools(double now)
{
    std::erase_if(m_tools, [now](const SimTool& tool) { return now - tool.lastAck > kToolForgetSeconds; });
}

std::optional<std::pair<Ipv4Bytes, int>> CSimDevice::ApplyIpBlock(std::span<const uint8_t> block)
{
    std::memcpy(&m_config.ip_mode, block.data(), kConfigIpBlock.size - 1);
    m_config.unread_29 = 0;
    Ipv4Bytes ip;
    Ipv4Bytes mask;
    std::memcpy(ip.data(), m_config.ip, 4);
    std::memcpy(mask.data(), m_config.ip_mask, 4);
    if (ip == m_address)
        return std::nullopt;
    return std::make_pair(ip, PrefixFromMask(mask));
}

void CSimDevice::ApplyVlan(std::span<const uint8_t> payload)
{
    const auto* bytes = payload.data();
    m_config.vlan_en = bytes[0];
    std::memcpy(&m_config.vlan_id, bytes + 2, 6);
    if (payload.size() >= kVlanPartSize + kExtensionSize)
    {
        const auto* extension = bytes + kVlanPartSize;
        std::memcpy(&m_config.vlan_pvid, extension + 2, 6);
    }
}

SimRequestOutcome CSimDevice::HandleRequest(uint16_t msgType, std::span<const uint8_t> payload, const Ipv4Bytes& from,
                                            double now)
{
    SimRequestOutcome outcome;
    auto refuse = [&outcome]
    {
        outcome.result = 1;
        return outcome;
    };
    switch (msgType)
    {
    case kMsgDiscover: // the acknowledge of a discover report: heartbeats start
        AddTool(from, now);
        outcome.answer = false;
        return outcome;
    case kMsgHeartbeat:
        AddTool(from, now);
        outcome.answer = false;
        return outcome;
    case kMsgRelease:
        RemoveTool(from);
        outcome.answer = false;
        return outcome;
    case kMsgConfigQuery:
        return outcome; // the answer is the configuration report
    case kMsgIpSet:
    {
        if (payload.size() < kConfigIpBlock.size)
            return refuse();
        Ipv4Bytes ip;
        std::memcpy(ip.data(), payload.data() + 1, 4);
        Ipv4Bytes mask;
        std::memcpy(mask.data(), payload.data() + 5, 4);
        const int prefix = PrefixFromMask(mask);
        if (AllZero(ip) || prefix == 0 || MaskFromPrefix(prefix) != mask)
            return refuse();
        const bool applyNow = payload[kIpApplyByte] != 0 || m_vlanWaitsForIp;
        if (!applyNow)
        {
            m_pendingIpBlock.emplace(payload.begin(), payload.begin() + kConfigIpBlock.size);
            return outcome;
        }
        if (m_vlanWaitsForIp && m_pendingVlan)
            ApplyVlan(*m_pendingVlan);
        m_vlanWaitsForIp = false;
        m_pendingVlan.reset();
        m_pendingIpBlock.reset();
        outcome.moveTo = ApplyIpBlock(payload.first(kConfigIpBlock.size));
        outcome.changed = true;
        return outcome;
    }
    case kMsgWirelessSet:
        if (payload.size() < kConfigWirelessBlock.size)
            return refuse();
        std::memcpy(&m_config.rf_count, payload.data(), kConfigWirelessBlock.size);
        if (payload.size() >= kConfigWirelessBlock.size + kExtensionSize)
            m_config.wl_dfs = payload[kConfigWirelessBlock.size + kExtensionDfsByte];
        outcome.changed = true;
        return outcome;
    case kMsgRebootSchedule:
        if (payload.size() < kConfigRebootBlock.size)
            return refuse();
        std::memcpy(&m_config.restart_en, payload.data(), kConfigRebootBlock.size);
        outcome.changed = true;
        return outcome;
    case kMsgDeviceName:
        if (payload.size() < kConfigNameBlock.size)
            return refuse();
        CopyText(m_config.ap_name, payload, payload[32]);
        outcome.changed = true;
        return outcome;
    case kMsgVlan:
        if (payload.size() < kVlanPartSize)
            return refuse();
        if (payload[kVlanApplyWithIpByte] != 0)
        {
            // Goes with an IP change that follows in the same save: both take effect together.
            m_pendingVlan.emplace(payload.begin(), payload.end());
            m_vlanWaitsForIp = true;
            return outcome;
        }
        ApplyVlan(payload);
        outcome.changed = true;
        return outcome;
    case kMsgBridgeSet:
    {
        if (payload.size() < kBridgeRecordSize)
            return refuse();
        const uint8_t ssidLength = payload[40];
        if (AllZero(payload.subspan(1, 6)) || ssidLength == 0 || ssidLength > 32)
            return refuse();
        m_config.work_mode = payload[0];
        m_config.bridge_work_mode = payload[0];
        std::memcpy(m_config.bridge_mac, payload.data() + 1, 6);
        m_config.bridge_channel = payload[7];
        CopyText(m_config.bridge_ssid, payload.subspan(8, 32), ssidLength);
        // Bytes 42 to 303 have the layout of the record's security fields.
        std::memcpy(&m_config.secure_mode, payload.data() + 42, 304 - 42);
        std::vector<uint8_t> ipBlock(payload.begin() + 304, payload.begin() + 304 + kConfigIpBlock.size);
        Ipv4Bytes ip;
        std::memcpy(ip.data(), ipBlock.data() + 1, 4);
        Ipv4Bytes mask;
        std::memcpy(mask.data(), ipBlock.data() + 5, 4);
        if (!AllZero(ip) && PrefixFromMask(mask) > 0)
            outcome.moveTo = ApplyIpBlock(ipBlock);
        outcome.changed = true;
        return outcome;
    }
    case kMsgReboot:
        outcome.reboot = true;
        return outcome;
    case kMsgRestore:
        outcome.reboot = true;
        RestoreFactory();
        outcome.changed = true;
        return outcome;
    case kMsgUpgradeRequest:
    {
        if (payload.size() < kUpgradeRecordSize)
            return refuse();
        const uint8_t length = payload[kUpgradeNameSize];
        const auto* name = reinterpret_cast<const char*>(payload.data());
        const size_t terminated = strnlen(name, kUpgradeNameSize);
        const std::string file(name, std::min<size_t>(length, terminated));
        if (file.empty())
            return refuse();
        m_imageReady = false;
        outcome.fetchFile = file;
        return outcome;
    }
    case kMsgUpgradeStart:
        outcome.startFlash = m_imageReady;
        return outcome;
    case kMsgTransparentBridge:
        if (payload.empty())
            return refuse();
        m_config.bridge_transparent = payload[0] != 0 ? 1 : 0;
        outcome.changed = true;
        return outcome;
    case kMsgTdma:
        if (payload.size() < 2)
            return refuse();
        m_config.tdmaEn = payload[1] != 0 ? 1 : 0;
        outcome.changed = true;
        return outcome;
    case kMsgSearchAp:
        return outcome; // the answer is the survey report
    default:
        outcome.answer = false; // types the device does not know (12, 14, others)
        return outcome;
    }
}

void CSimDevice::SetAddress(const Ipv4Bytes& ip, int prefixLength)
{
    m_address = ip;
    std::memcpy(m_config.ip, ip.data(), 4);
    const Ipv4Bytes mask = MaskFromPrefix(prefixLength);
    std::memcpy(m_config.ip_mask, mask.data(), 4);
}

void CSimDevice::SetImage(bool fetched, const std::string& version)
{
    m_imageReady = fetched;
    m_imageVersion = version;
}

void CSimDevice::FinishFlash()
{
    if (!m_imageReady)
        return;
    m_config.version.Assign(m_imageVersion);
    m_imageReady = false;
}

std::optional<std::pair<Ipv4Bytes, int>> CSimDevice::Restart(double restartAt)
{
    ++life;
    m_tools.clear();
    m_startedAt = restartAt;
    heartbeatScheduled = false;
    std::optional<std::pair<Ipv4Bytes, int>> moveTo;
    if (m_vlanWaitsForIp && m_pendingVlan)
        ApplyVlan(*m_pendingVlan);
    m_vlanWaitsForIp = false;
    m_pendingVlan.reset();
    if (m_pendingIpBlock)
        moveTo = ApplyIpBlock(*m_pendingIpBlock);
    m_pendingIpBlock.reset();
    return moveTo;
}

void CSimDevice::RestoreFactory()
{
    // The address stays, so that the device can still be reached on this LAN after the restore.
    ap_config_info restored = m_factory;
    std::memcpy(&restored.ip_mode, &m_config.ip_mode, kConfigIpBlock.size);
    restored.version = m_config.version;
    m_config = restored;
    m_pendingIpBlock.reset();
    m_pendingVlan.reset();
    m_vlanWaitsForIp = false;
}

std::vector<ap_survey_info> CSimDevice::SurveyReports(const std::vector<config_otherwl_basic>& seen) const
{
    std::vector<ap_survey_info> reports;
    const size_t count = std::max<size_t>(1, (seen.size() + kSurveyMaxEntries - 1) / kSurveyMaxEntries);
    for (size_t packet = 0; packet < count; ++packet)
    {
        ap_survey_info report{};
        report.packet_count = static_cast<uint8_t>(count);
        report.packet_id = static_cast<uint8_t>(packet);
        const size_t first = packet * kSurveyMaxEntries;
        const size_t entries = std::min(kSurveyMaxEntries, seen.size() - std::min(first, seen.size()));
        report.icount = static_cast<uint8_t>(entries);
        for (size_t i = 0; i < entries; ++i)
            report.entries[i] = seen[first + i];
        reports.push_back(report);
    }
    return reports;
}
