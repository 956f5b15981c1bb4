// The engine's sending side: discover broadcasts, requests to one device, retransmission, adapters.
#include "link/broadcast_targets.h"
#include "link/message_types.h"
#include "link/transmit_manage.h"
#include "support/log.h"

bool AcTransmitManage::SendPacket(const ap_send_route& route, const void* payload, size_t length, uint16_t msgType,
                                  bool addressed, const std::string& mac)
{
    const std::span<const uint8_t> bytes(static_cast<const uint8_t*>(payload), payload != nullptr ? length : 0);
    const std::optional<std::vector<uint8_t>> datagram = EncodePacket(msgType, mac, addressed, bytes);
    if (!datagram)
    {
        // Longer than a datagram holds: nothing leaves.
        LOG_ERROR("socket sendto fail");
        return false;
    }
    return m_sender->SendPacket(route, *datagram);
}

void AcTransmitManage::SendPacketBroadcast()
{
    std::vector<local_adapter_info> adapters;
    GetLocalAdapterList(adapters);
    const broadcast_target_lists targets = BuildBroadcastTargets(adapters);
    if (targets.udp.empty())
    {
        SendPacket({ApRoute::DiscoverAll, "", kLimitedBroadcast, kDiscoverBroadcastPort}, nullptr, 0, kMsgDiscover,
                   false, "");
        return;
    }
    for (size_t i = 0; i < targets.udp.size(); ++i)
    {
        m_sender->SendAnnouncement(targets.raw[i]);
        SendPacket({ApRoute::DiscoverFromAdapter, targets.udp[i].local_address, targets.udp[i].address,
                    kDiscoverBroadcastPort},
                   nullptr, 0, kMsgDiscover, false, "");
    }
}

bool AcTransmitManage::SendPacketMutilcast(const std::string& ip, uint16_t msgType, const void* payload, size_t length,
                                           const std::string& mac, bool retransmit)
{
    bool result = false;
    m_localIps.ForEachSameSubnet(ip,
                                 [&](const local_ip_info& entry)
                                 {
                                     if (msgType == kMsgSearchAp)
                                         m_surveyComplete = false;
                                     result = SendPacket(
                                         {ApRoute::RequestFromAdapter, entry.ip, kRequestGroup, kRequestPort}, payload,
                                         length, msgType, true, mac);
                                 });
    const bool neverRetransmitted =
        msgType == kMsgDiscover || msgType == kMsgSearchAp || msgType == kMsgHeartbeat || msgType == kMsgRelease;
    if (result && retransmit && !neverRetransmitted)
        AddManageApRetransmission(ip, payload, msgType, length, mac);
    return result;
}

void AcTransmitManage::RefreshCaptureDevices()
{
    m_sender->RefreshCaptureDevices();
}

void AcTransmitManage::AddManageApRetransmission(const std::string& ip, const void* payload, uint16_t msgType,
                                                 size_t length, const std::string& mac)
{
    const std::span<const uint8_t> bytes(static_cast<const uint8_t*>(payload), payload != nullptr ? length : 0);
    m_retransmissions.AddManageApRetransmission(ip, bytes, msgType, mac, m_retransmissionMax);
}

void AcTransmitManage::DeleteManageApRetransmission(const std::string& ip, uint16_t msgType, const std::string& mac)
{
    m_retransmissions.DeleteManageApRetransmission(ip, msgType, mac);
}

void AcTransmitManage::CheckManageApRetransmission()
{
    m_retransmissions.Pass(
        [this](const retransmission_info& entry) {
            SendPacketMutilcast(entry.ip, entry.msg_type, entry.payload.data(), entry.payload.size(), entry.mac, false);
        });
}

void AcTransmitManage::GetLocalAdapterList(std::vector<local_adapter_info>& list)
{
    list = m_adapterLibrary.QueryUsableAdapters();
    RebuildLocalIpList(list);
}

void AcTransmitManage::RebuildLocalIpList(const std::vector<local_adapter_info>& adapters)
{
    m_localIps.Rebuild(adapters);
}
