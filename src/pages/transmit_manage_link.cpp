#include "pages/transmit_manage_link.h"

#include "link/transmit_manage.h"

void CTransmitManageLink::RefreshCaptureDevices()
{
    AcTransmitManage::GetInstance().RefreshCaptureDevices();
}

void CTransmitManageLink::ReleasePendingManageAp()
{
    AcTransmitManage::GetInstance().ReleasePendingManageAp();
}

void CTransmitManageLink::DeletePendingManageAp()
{
    AcTransmitManage::GetInstance().DeletePendingManageAp();
}

void CTransmitManageLink::SyncStoreWithManageAp()
{
    AcTransmitManage::GetInstance().SyncStoreWithManageAp();
}

void CTransmitManageLink::SendPacketBroadcast()
{
    AcTransmitManage::GetInstance().SendPacketBroadcast();
}

void CTransmitManageLink::GetPendingApList(std::vector<ap_info_stu>& rows, int maximum,
                                           std::optional<std::string_view> filter)
{
    AcTransmitManage::GetInstance().GetPendingApList(rows, maximum, filter);
}

bool CTransmitManageLink::SendPacketMutilcast(const std::string& ip, uint16_t msgType, const void* payload,
                                              size_t length, const std::string& mac, bool retransmit)
{
    return AcTransmitManage::GetInstance().SendPacketMutilcast(ip, msgType, payload, length, mac, retransmit);
}

IDeviceLink& ProgramDeviceLink()
{
    static CTransmitManageLink link;
    return link;
}
