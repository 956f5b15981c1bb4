// What the engine does with each received record, the heartbeat check, and the table operations
// that pages call. Store calls are made with no engine lock held.
#include <cstring>

#include "link/address_text.h"
#include "link/config_info.h"
#include "link/device_reports.h"
#include "link/message_types.h"
#include "link/survey_info.h"
#include "link/transmit_manage.h"
#include "store/display_values.h"
#include "store/sql_management.h"
#include "support/log.h"
#include "support/operate_character.h"

namespace
{

template <size_t N>
void ToLocalText(ap_text_field<N>& field)
{
    field.Assign(DeviceTextToLocal(field.View()));
}

} // namespace

void AcTransmitManage::ManageDiscoverPacket(const ap_packet_info& packet)
{
    const bool query = m_manageAps.AddManageAp(packet);
    const std::string ip = SenderIpText(packet);
    const std::string mac = PacketMacText(packet);
    SendPacketMutilcast(ip, kMsgDiscover, nullptr, 0, mac, false);
    if (query)
        SendPacketMutilcast(ip, kMsgConfigQuery, nullptr, 0, mac, true);
}

void AcTransmitManage::ManageHeartbeatPacket(const ap_packet_info& packet)
{
    if (!m_manageAps.UpdateManageApHeartbeat(packet))
        return;
    const std::string ip = SenderIpText(packet);
    const std::string mac = PacketMacText(packet);
    LOG_INFO("SendPacketMutilcast KAVRO_APHeartbeatAck ip:%s, mac:%s", ip.c_str(), mac.c_str());
    SendPacketMutilcast(ip, kMsgHeartbeat, nullptr, 0, mac, false);
    if (m_store != nullptr)
        m_store->UpdateHeartbeat(mac, ip, ReadHeartbeatInfo(packet).up_time);
}

void AcTransmitManage::ManageConfigPacket(const ap_packet_info& packet)
{
    const uint16_t msgType = ReadPacketHead(packet).msg_type;
    const std::string ip = SenderIpText(packet);
    const std::string mac = PacketMacText(packet);
    if (msgType != kMsgSearchAp && msgType != kMsgRelease)
    {
        LOG_INFO("DeleteManageApRetransmission ip:%s, msg_type:%d, mac:%s", ip.c_str(), int{msgType}, mac.c_str());
        DeleteManageApRetransmission(ip, msgType, mac);
    }
    const uint8_t result = ReadResultByte(packet);
    const auto setStatus = [&](int status)
    {
        if (m_store != nullptr)
            m_store->SetDeviceStatus(mac, status);
    };

    switch (msgType)
    {
    case kMsgConfigQuery:
    {
        if (!m_manageAps.ModifyManageApConfig(packet))
            return;
        LOG_INFO("msg_type%d--configuration exists", int{kMsgConfigQuery});
        ap_info_stu record;
        std::memset(&record, 0, sizeof(record));
        SetInfoMacText(record, mac);
        record.config = ReadConfigInfo(packet);
        record.ap_type = record.config.ap_type;
        record.ap_status = 0;
        ToLocalText(record.config.ap_name);
        ToLocalText(record.config.ssid);
        ToLocalText(record.config.bridge_ssid);
        if (m_store != nullptr)
            m_store->SaveDeviceConfig(record);
        return;
    }
    case kMsgIpSet:
        m_manageAps.UpdateManageApIp(mac, ip);
        LOG_INFO("msg_type:%d, ip:%s, mac:%s--update manage ap", int{kMsgIpSet}, ip.c_str(), mac.c_str());
        return;
    case kMsgSearchAp:
    {
        ap_survey_info survey = ReadSurveyInfo(packet);
        for (size_t i = 0; i < survey.icount; ++i)
            ToLocalText(survey.entries[i].ssid);
        if (m_store != nullptr)
            m_store->SaveSurveyReport(survey);
        if (int{survey.packet_id} == int{survey.packet_count} - 1)
            m_surveyComplete = true;
        return;
    }
    case kMsgBridgeSet:
    {
        const int status = result == 0 ? kStatusBridgeSuccess : kStatusBridgeFail;
        setStatus(status);
        LOG_INFO("msg_type:%d, mac:%s, result:%d--bridge configuration", int{kMsgBridgeSet}, mac.c_str(), status);
        return;
    }
    case kMsgReboot:
    case kMsgVlan:
        if (result == 0)
            setStatus(kStatusRestarting);
        return;
    case kMsgRestore:
        if (result == 0)
            setStatus(kStatusResetting);
        return;
    case kMsgUpgradeReport:
        setStatus(result == 0 ? kStatusUpgradeWait : result == 1 ? kStatusUpgradeFail : kStatusUpgradeSuccess);
        return;
    case kMsgUpgradeStart:
        if (m_store != nullptr)
            m_store->MarkUpgradeStarted(mac);
        return;
    default:
        return;
    }
}

void AcTransmitManage::CheckManageApHeartbeat()
{
    const std::vector<manage_ap_info> removed = m_manageAps.CheckHeartbeat();
    if (m_store == nullptr)
        return;
    for (const manage_ap_info& record : removed)
        m_store->DeleteDevice(record.mac);
}

void AcTransmitManage::ReleasePendingManageAp()
{
    m_manageAps.ForEachPending([this](const manage_ap_info& record)
                               { SendPacketMutilcast(record.ip, kMsgRelease, nullptr, 0, record.mac, false); });
}

void AcTransmitManage::DeletePendingManageAp()
{
    m_manageAps.DeletePending();
}

void AcTransmitManage::SyncStoreWithManageAp()
{
    if (m_store == nullptr)
        return;
    std::vector<std::string> macs;
    m_store->ListDeviceMacs(macs);
    for (const std::string& mac : m_manageAps.UnmanagedMacs(macs))
        m_store->DeleteDevice(mac);
}

void AcTransmitManage::GetPendingApList(std::vector<ap_info_stu>& rows, int maximum,
                                        std::optional<std::string_view> filter)
{
    m_manageAps.GetPendingApList(rows, maximum, filter);
}

void AcTransmitManage::UpdateManageApIp(const std::string& mac, const std::string& ip, const std::string& newIp)
{
    m_manageAps.UpdateManageApIp(mac, ip, newIp);
}
