// What the pages ask of the device link, and nothing more: the search steps, the pending devices
// and one request to one device. The program's pages talk to the engine through it; tests hand the
// pages a capturing one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/config_info.h"

class IDeviceLink
{
public:
    virtual ~IDeviceLink() = default;

    // The steps that open a device search, in the order the search calls them.
    virtual void RefreshCaptureDevices() = 0;
    virtual void ReleasePendingManageAp() = 0;
    virtual void DeletePendingManageAp() = 0;
    virtual void SyncStoreWithManageAp() = 0;
    virtual void SendPacketBroadcast() = 0;

    // Rows (status 10) of devices that answered the discover broadcast but have no accepted
    // configuration yet: at most maximum of those that match the filter (all without one).
    virtual void GetPendingApList(std::vector<ap_info_stu>& rows, int maximum,
                                  std::optional<std::string_view> filter) = 0;

    // One request to the device at ip (retransmitted until answered when retransmit is set). Any
    // thread may call it; the pages ignore the result.
    virtual bool SendPacketMutilcast(const std::string& ip, uint16_t msgType, const void* payload, size_t length,
                                     const std::string& mac, bool retransmit) = 0;
};

// The process-wide device link of the program's pages.
IDeviceLink& ProgramDeviceLink();
