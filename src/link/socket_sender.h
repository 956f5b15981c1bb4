// The real sender: the engine's own sockets for discover broadcasts and requests, a socket of its
// own per adapter broadcast, raw frames through the capture library.
#pragma once

#include "link/packet_sender.h"
#include "link/raw_frames.h"
#include "link/unique_fd.h"

class CSocketSender : public CApSender
{
public:
    // The slots are the engine's socket_discover_send and socket_heartbeat; they may be empty.
    CSocketSender(const CUniqueFd& discoverSend, const CUniqueFd& heartbeat);

    bool SendPacket(const ap_send_route& route, std::span<const uint8_t> datagram) override;
    void RefreshCaptureDevices() override;
    bool SendAnnouncement(const broadcast_target_info& target) override;

private:
    bool SendRequest(const ap_send_route& route, std::span<const uint8_t> datagram);

    const CUniqueFd& m_discoverSend;
    const CUniqueFd& m_heartbeat;
    CRawFrames m_rawFrames;
};
