#include "link/socket_sender.h"

#include "link/ap_socket.h"
#include "link/message_types.h"

CSocketSender::CSocketSender(const CUniqueFd& discoverSend, const CUniqueFd& heartbeat)
    : m_discoverSend(discoverSend), m_heartbeat(heartbeat)
{
}

bool CSocketSender::SendPacket(const ap_send_route& route, std::span<const uint8_t> datagram)
{
    switch (route.route)
    {
    case ApRoute::DiscoverAll:
        return SendDatagram(m_discoverSend.Get(), route.dest_ip, route.dest_port, datagram);
    case ApRoute::DiscoverFromAdapter:
    {
        CUniqueFd socket;
        if (!AcCreateSocket(socket, kDiscoverBroadcastPort, true, kSocketBuffer, kSocketBuffer, false, route.source_ip,
                            ""))
            return false;
        return SendDatagram(socket.Get(), route.dest_ip, route.dest_port, datagram);
    }
    case ApRoute::RequestFromAdapter:
        return SendRequest(route, datagram);
    }
    return false;
}

bool CSocketSender::SendRequest(const ap_send_route& route, std::span<const uint8_t> datagram)
{
    // From socket_heartbeat itself: a second socket bound to the adapter's address and port 9787
    // would take the heartbeats arriving for that address while it exists.
    if (m_heartbeat)
        return SendDatagramFrom(m_heartbeat.Get(), route.source_ip, route.dest_ip, route.dest_port, datagram);
    // Without socket_heartbeat nothing listens on port 9787, and a socket of the request's own is safe.
    CUniqueFd socket;
    if (!AcCreateSocket(socket, kRequestPort, false, kSocketBuffer, kSocketBuffer, true, route.source_ip,
                        kRequestGroup))
        return false;
    return SendDatagram(socket.Get(), route.dest_ip, route.dest_port, datagram);
}

void CSocketSender::RefreshCaptureDevices()
{
    m_rawFrames.RefreshCaptureDevices();
}

bool CSocketSender::SendAnnouncement(const broadcast_target_info& target)
{
    return m_rawFrames.SendAnnouncement(target);
}
