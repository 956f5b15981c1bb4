// What the simulated devices do with what they receive, and the jobs that follow from it.
#include <algorithm>
#include <cstring>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include "link/packet_head.h"
#include "link/socket_address.h"
#include "sim/device_profiles.h"
#include "sim/sim_engine.h"
#include "sim/tftp_client.h"

namespace
{

Ipv4Bytes SenderIp(const sockaddr_in& from)
{
    Ipv4Bytes ip;
    std::memcpy(ip.data(), &from.sin_addr, 4);
    return ip;
}

constexpr size_t kUpgradeSizeOffset = 264;

} // namespace

void CSimEngine::HandleDatagram(std::span<const uint8_t> datagram, const sockaddr_in& from, uint16_t localPort)
{
    const bool dropped = Drop();
    LogDatagram("in", from, SocketAddress({0, 0, 0, 0}, localPort), datagram, dropped);
    if (dropped)
        return;
    // Devices take whatever the tool's decoder would take, of any type, on either port.
    const std::optional<ap_packet_info> packet = DecodePacket(datagram, ApChannel::Replies, from);
    if (!packet)
        return;
    const ap_packet_head head = ReadPacketHead(*packet);
    const uint16_t msgType = head.msg_type;
    const Ipv4Bytes tool = SenderIp(from);
    if (localPort == kDiscoverBroadcastPort)
    {
        if (msgType == kMsgDiscover)
            AnswerDiscover(tool);
        return;
    }
    const auto found = m_byMac.find(PacketMacText(*packet));
    if (found == m_byMac.end())
        return;
    const size_t payloadLength = std::min(ClaimedPayloadLength(*packet), datagram.size() - kApPacketHeadSize);
    HandleRequest(found->second, msgType, PayloadArea(*packet).first(payloadLength), tool);
}

void CSimEngine::AnswerDiscover(const Ipv4Bytes& tool)
{
    // Devices answer a broadcast at once but not all in the same millisecond, as real ones do.
    std::uniform_real_distribution<double> spread(0.0, m_options.replyJitterMs / 1000.0);
    const double now = Now();
    for (size_t index = 0; index < m_devices.size(); ++index)
    {
        if (m_devices[index].Silent(now))
            continue;
        AddDeviceTimer(index, now + spread(m_random),
                       [this, index, tool](CSimDevice& device)
                       {
                           if (device.Silent(Now()))
                               return;
                           const ap_discover_info report = device.DiscoverReport(Now());
                           SendFromDevice(index, kMsgDiscover, RecordBytes(report), tool, kDiscoverReportPort);
                       });
    }
}

void CSimEngine::HandleRequest(size_t index, uint16_t msgType, std::span<const uint8_t> payload, const Ipv4Bytes& tool)
{
    CSimDevice& device = m_devices[index];
    const double now = Now();
    if (msgType < std::size(device.requestCounts))
        ++device.requestCounts[msgType];
    if (device.Silent(now) || m_options.neverAnswered.count(msgType) != 0)
        return;
    const SimRequestOutcome outcome = device.HandleRequest(msgType, payload, tool, now);
    if (outcome.changed)
        MarkChanged();
    if ((msgType == kMsgDiscover || msgType == kMsgHeartbeat) && !device.Tools().empty() && !device.heartbeatScheduled)
    {
        // The first heartbeat a little after the acknowledge, spread over one interval.
        std::uniform_real_distribution<double> spread(0.2, 1.0);
        ScheduleHeartbeat(index, now + m_options.heartbeatSeconds * spread(m_random));
    }
    if (outcome.answer)
    {
        if (msgType == kMsgConfigQuery)
            SendConfigReport(index, tool);
        else if (msgType == kMsgSearchAp)
        {
            for (const ap_survey_info& report : device.SurveyReports(MakeSurveyEntries(m_devices, index, m_options)))
            {
                const size_t length = 3 + sizeof(config_otherwl_basic) * report.icount;
                SendFromDevice(index, kMsgSearchAp, RecordBytes(report).first(length), tool, kReplyPort);
            }
        }
        else
        {
            const uint8_t result = outcome.result;
            SendFromDevice(index, msgType, {&result, 1}, tool, kReplyPort);
        }
    }
    // The answer has left from the old address; from now on the device lives at the new one.
    if (outcome.moveTo)
        MoveDevice(index, outcome.moveTo->first, outcome.moveTo->second);
    // A changed device tells the tool its new configuration on its own, as a reply to the query would,
    // so that the tool's list shows the change without a new search.
    if (outcome.changed && !outcome.reboot && m_options.changeReportSeconds >= 0)
    {
        AddDeviceTimer(index, now + m_options.changeReportSeconds,
                       [this, index, tool](CSimDevice& changed)
                       {
                           if (!changed.Silent(Now()))
                               SendConfigReport(index, tool);
                       });
    }
    if (outcome.reboot)
        BeginReboot(index);
    if (outcome.fetchFile)
    {
        const size_t expected =
            payload.size() >= kUpgradeSizeOffset + 4
                ? static_cast<size_t>(payload[kUpgradeSizeOffset] | payload[kUpgradeSizeOffset + 1] << 8 |
                                      payload[kUpgradeSizeOffset + 2] << 16 |
                                      static_cast<uint32_t>(payload[kUpgradeSizeOffset + 3]) << 24)
                : 0;
        StartFetch(index, tool, *outcome.fetchFile, expected);
    }
    if (outcome.startFlash)
    {
        AddDeviceTimer(index, now + m_options.flashSeconds,
                       [this, index, tool](CSimDevice& flashed)
                       {
                           flashed.FinishFlash();
                           MarkChanged();
                           // Any result byte other than 0 (wait) and 1 (fail) reports success.
                           const uint8_t success = 2;
                           SendFromDevice(index, kMsgUpgradeReport, {&success, 1}, tool, kReplyPort);
                           BeginReboot(index);
                       });
    }
}

void CSimEngine::AddDeviceTimer(size_t index, double when, std::function<void(CSimDevice&)> job)
{
    const uint64_t life = m_devices[index].life;
    m_timers.Add(when,
                 [this, index, life, job = std::move(job)]
                 {
                     CSimDevice& device = m_devices[index];
                     if (device.life == life)
                         job(device);
                 });
}

void CSimEngine::SendConfigReport(size_t index, const Ipv4Bytes& tool)
{
    const ap_config_info report = m_devices[index].ConfigReport(Now());
    SendFromDevice(index, kMsgConfigQuery, RecordBytes(report), tool, kReplyPort);
}

void CSimEngine::ScheduleHeartbeat(size_t index, double when)
{
    m_devices[index].heartbeatScheduled = true;
    AddDeviceTimer(index, when, [this, index](CSimDevice& device) { Heartbeat(index, device); });
}

void CSimEngine::Heartbeat(size_t index, CSimDevice& device)
{
    const double now = Now();
    device.ForgetStaleTools(now);
    if (device.Tools().empty())
    {
        device.heartbeatScheduled = false;
        return;
    }
    if (!device.Silent(now))
    {
        const ap_heartbeat_info heartbeat = device.Heartbeat(now);
        for (const SimTool& tool : device.Tools())
            SendFromDevice(index, kMsgHeartbeat, RecordBytes(heartbeat), tool.ip, kHeartbeatPort);
    }
    ScheduleHeartbeat(index, now + m_options.heartbeatSeconds);
}

void CSimEngine::MoveDevice(size_t index, const Ipv4Bytes& ip, int prefixLength)
{
    CSimDevice& device = m_devices[index];
    const Ipv4Bytes oldIp = device.Ip();
    const int oldPrefix = device.PrefixLength();
    if (!UseAddress(ip, prefixLength))
        return; // the device stays where it can still be reached
    device.SetAddress(ip, prefixLength);
    ReleaseAddress(oldIp, oldPrefix);
    MarkChanged();
    std::fprintf(stdout, "fieldmate-sim: %s moved from %s to %s/%d\n", device.MacText().c_str(),
                 IpBytesToText(oldIp).c_str(), IpBytesToText(ip).c_str(), prefixLength);
    std::fflush(stdout);
}

void CSimEngine::BeginReboot(size_t index)
{
    CSimDevice& device = m_devices[index];
    const double back = Now() + m_options.rebootSilenceSeconds;
    device.silentUntil = back;
    ++device.life; // ends the heartbeats and jobs of the life before
    device.heartbeatScheduled = false;
    AddDeviceTimer(index, back,
                   [this, index, back](CSimDevice& restarted)
                   {
                       const auto moveTo = restarted.Restart(back);
                       if (moveTo)
                           MoveDevice(index, moveTo->first, moveTo->second);
                       MarkChanged();
                   });
    MarkChanged();
}

void CSimEngine::StartFetch(size_t index, const Ipv4Bytes& tool, const std::string& file, size_t expected)
{
    const Ipv4Bytes local = m_devices[index].Ip();
    const uint64_t life = m_devices[index].life;
    m_fetchThreads.emplace_back(
        [this, index, life, tool, local, file, expected]
        {
            const TftpFetchResult result = TftpFetch(tool, local, file);
            {
                std::lock_guard<std::mutex> lock(m_fetchMutex);
                m_fetchesDone.push_back({index, life, tool, result.ok, result.bytes, expected, file, result.error});
            }
            const uint64_t one = 1;
            [[maybe_unused]] const ssize_t ignored = write(m_wakeFd.Get(), &one, sizeof(one));
        });
}

void CSimEngine::FinishFetches()
{
    std::vector<FetchDone> done;
    {
        std::lock_guard<std::mutex> lock(m_fetchMutex);
        done.swap(m_fetchesDone);
    }
    for (const FetchDone& fetch : done)
    {
        CSimDevice& device = m_devices[fetch.device];
        if (device.life != fetch.life)
            continue;
        // The image is good when it arrived whole and has the size the order announced.
        const bool good = fetch.ok && fetch.bytes > 0 && fetch.bytes == fetch.expected;
        device.SetImage(good, VersionFromFirmwareName(fetch.file, device.Config().version.Str()));
        std::fprintf(stdout, "fieldmate-sim: %s fetched %s: %zu of %zu bytes%s%s\n", device.MacText().c_str(),
                     fetch.file.c_str(), fetch.bytes, fetch.expected, fetch.error.empty() ? "" : ", ",
                     fetch.error.c_str());
        std::fflush(stdout);
        const uint8_t result = good ? 0 : 1;
        if (!device.Silent(Now()))
            SendFromDevice(fetch.device, kMsgUpgradeReport, {&result, 1}, fetch.tool, kReplyPort);
        MarkChanged();
    }
}
