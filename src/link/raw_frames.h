// The ARP announcement sent beside each adapter's discover broadcast, through the capture library.
// Every failure here is silent: the UDP broadcast goes out regardless.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "link/broadcast_targets.h"

constexpr size_t kAnnouncementFrameSize = 60;

// An ARP request from mac announcing ip to the whole segment (sender and target address both ip).
std::array<uint8_t, kAnnouncementFrameSize> BuildAnnouncementFrame(const MacBytes& mac, const std::string& ip);

class CRawFrames
{
public:
    // Enumerates the capture devices, replacing the list; on failure the list is empty.
    void RefreshCaptureDevices();

    // Sends the target's frame through the capture device of its adapter; false without a list,
    // without such a device, or when the device cannot be opened or the send fails.
    bool SendAnnouncement(const broadcast_target_info& target);

private:
    std::mutex m_lock;
    std::optional<std::vector<std::string>> m_devices; // none before the first refresh
};
