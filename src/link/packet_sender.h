// What the engine needs from the network to send: one interface, so that a test captures every
// datagram and frame that would leave, with no socket.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "link/broadcast_targets.h"

// The ways a datagram leaves the tool.
enum class ApRoute
{
    DiscoverAll,         // through socket_discover_send (0.0.0.0:9786) to 255.255.255.255:9786
    DiscoverFromAdapter, // from source_ip:9786 to an adapter's subnet broadcast address, port 9786
    RequestFromAdapter,  // from source_ip:9787 to 239.255.255.250:9787, out of the interface holding source_ip
};

struct ap_send_route
{
    ApRoute route;
    std::string source_ip; // empty for DiscoverAll
    std::string dest_ip;
    uint16_t dest_port;
};

class CApSender
{
public:
    virtual ~CApSender() = default;

    // Sends one whole datagram; false (with its ERROR line logged) when it did not leave.
    virtual bool SendPacket(const ap_send_route& route, std::span<const uint8_t> datagram) = 0;

    // Enumerates the capture devices anew; raw frames go out only after a first refresh.
    virtual void RefreshCaptureDevices() = 0;

    // The raw announcement frame for one adapter address; false when it did not go out (silently).
    virtual bool SendAnnouncement(const broadcast_target_info& target) = 0;
};
