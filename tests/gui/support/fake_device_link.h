// A device link that records what the pages ask of it instead of sending, and hands out pending
// devices a test sets.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "pages/device_link.h"

struct SentRequest
{
    std::string ip;
    uint16_t msgType = 0;
    std::vector<uint8_t> payload;
    std::string mac;
    bool retransmit = false;
};

class CFakeDeviceLink : public IDeviceLink
{
public:
    void RefreshCaptureDevices() override { Record("RefreshCaptureDevices"); }
    void ReleasePendingManageAp() override { Record("ReleasePendingManageAp"); }
    void DeletePendingManageAp() override { Record("DeletePendingManageAp"); }
    void SyncStoreWithManageAp() override { Record("SyncStoreWithManageAp"); }
    void SendPacketBroadcast() override { Record("SendPacketBroadcast"); }
    // The set pending rows whose IP, MAC or version holds the filter, at most maximum.
    void GetPendingApList(std::vector<ap_info_stu>& rows, int maximum, std::optional<std::string_view> filter) override;
    bool SendPacketMutilcast(const std::string& ip, uint16_t msgType, const void* payload, size_t length,
                             const std::string& mac, bool retransmit) override;

    void SetPending(std::vector<ap_info_stu> rows);
    // Every call by name, in order ("GetPendingApList" included).
    std::vector<std::string> Calls() const;
    int CallCount(const std::string& name) const;
    std::vector<SentRequest> Sent() const;
    // The arguments of the last GetPendingApList.
    int LastPendingMaximum() const;
    std::optional<std::string> LastPendingFilter() const;
    void ClearRecords();

    // While held, SendPacketMutilcast waits inside the call (a slow engine call).
    void HoldSends(bool hold);
    // Waits until count sends have entered the call (held or not); false after 5 seconds.
    bool WaitForSendsEntered(int count);

private:
    void Record(const std::string& call);

    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::string> m_calls;
    std::vector<SentRequest> m_sent;
    std::vector<ap_info_stu> m_pending;
    int m_lastMaximum = -1;
    std::optional<std::string> m_lastFilter;
    bool m_hold = false;
    int m_entered = 0;
};
