// Requests that wait for their answer, each sent again on every pass until answered or exhausted.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

struct retransmission_info
{
    int32_t remaining; // sends left
    std::string ip;    // the device's
    uint16_t msg_type;
    std::vector<uint8_t> payload;
    std::string mac; // the device's
};

class CRetransmissionList
{
public:
    // Appends the request with remaining sends; the same request may be listed more than once.
    void AddManageApRetransmission(const std::string& ip, std::span<const uint8_t> payload, uint16_t msgType,
                                   const std::string& mac, int32_t remaining);

    // Removes the first entry of this device and type, if any.
    void DeleteManageApRetransmission(const std::string& ip, uint16_t msgType, const std::string& mac);

    // One pass under the list's mutex: an exhausted entry is logged and removed; any other has its
    // count decreased, is logged and handed to resend.
    void Pass(const std::function<void(const retransmission_info&)>& resend);

    std::vector<retransmission_info> Entries() const;

private:
    mutable std::mutex m_lock;
    std::vector<retransmission_info> m_entries;
};
