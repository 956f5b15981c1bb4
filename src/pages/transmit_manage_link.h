// The device link of the program's pages: every call goes to the process-wide engine.
#pragma once

#include "pages/device_link.h"

class CTransmitManageLink : public IDeviceLink
{
public:
    void RefreshCaptureDevices() override;
    void ReleasePendingManageAp() override;
    void DeletePendingManageAp() override;
    void SyncStoreWithManageAp() override;
    void SendPacketBroadcast() override;
    void GetPendingApList(std::vector<ap_info_stu>& rows, int maximum, std::optional<std::string_view> filter) override;
    bool SendPacketMutilcast(const std::string& ip, uint16_t msgType, const void* payload, size_t length,
                             const std::string& mac, bool retransmit) override;
};
