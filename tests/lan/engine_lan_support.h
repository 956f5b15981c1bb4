// Running the engine inside a test LAN from the test process itself: the calling thread enters the
// tool host's namespace, so every socket the engine opens and every thread it starts lives there;
// device-side peers are plain sockets opened inside a device host.
#pragma once

#include <arpa/inet.h>
#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "common/test_lan.h"
#include "link/device_protocol.h"
#include "link/socket_address.h"
#include "link/unique_fd.h"

// The calling thread inside a named namespace until the scope ends. Sockets opened meanwhile stay
// in it; threads started meanwhile start in it.
class CNamespaceScope
{
public:
    explicit CNamespaceScope(const std::string& name)
    {
        m_previous.Reset(open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC));
        const CUniqueFd target(open(("/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC));
        m_entered = m_previous && target && setns(target.Get(), CLONE_NEWNET) == 0;
    }
    ~CNamespaceScope()
    {
        if (m_entered)
            setns(m_previous.Get(), CLONE_NEWNET);
    }
    CNamespaceScope(const CNamespaceScope&) = delete;
    CNamespaceScope& operator=(const CNamespaceScope&) = delete;

    bool Entered() const { return m_entered; }

private:
    CUniqueFd m_previous;
    bool m_entered = false;
};

struct PeerDatagram
{
    std::string from_ip;
    uint16_t from_port = 0;
    std::vector<uint8_t> bytes;

    uint16_t Type() const { return bytes.size() >= 16 ? static_cast<uint16_t>(bytes[4] | bytes[5] << 8) : 0; }
    std::string Mac() const
    {
        return bytes.size() >= 16 ? MacBytesToText(std::span<const uint8_t, 6>(bytes.data() + 8, 6)) : std::string();
    }
};

// One UDP socket opened in a host of the LAN: bound to ip:port (reusable), optionally a member of
// the request group on ip's interface.
class CLanSocket
{
public:
    CLanSocket(const CTestLan& lan, const std::string& host, const std::string& ip, uint16_t port,
               bool joinGroup = false, bool reuse = true)
    {
        CNamespaceScope inside(lan.Namespace(host));
        if (!inside.Entered())
            return;
        m_fd.Reset(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
        const int on = 1;
        const int buffer = 8 << 20;
        if (reuse)
            setsockopt(m_fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
        setsockopt(m_fd.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof(on));
        setsockopt(m_fd.Get(), SOL_SOCKET, SO_RCVBUFFORCE, &buffer, sizeof(buffer));
        const sockaddr_in local = ParseSocketAddress(joinGroup ? "0.0.0.0" : ip, port).value();
        if (bind(m_fd.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != 0)
        {
            m_fd.Reset();
            return;
        }
        if (joinGroup)
        {
            ip_mreq membership{};
            inet_pton(AF_INET, kRequestGroup, &membership.imr_multiaddr);
            inet_pton(AF_INET, ip.c_str(), &membership.imr_interface);
            if (setsockopt(m_fd.Get(), IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof(membership)) != 0)
                m_fd.Reset();
        }
    }

    bool Valid() const { return m_fd.Valid(); }

    bool SendTo(const std::string& ip, uint16_t port, std::span<const uint8_t> bytes) const
    {
        const sockaddr_in target = ParseSocketAddress(ip, port).value();
        return sendto(m_fd.Get(), bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&target),
                      sizeof(target)) == static_cast<ssize_t>(bytes.size());
    }

    // The next datagram within the timeout, or none.
    std::optional<PeerDatagram> Receive(std::chrono::milliseconds timeout) const
    {
        pollfd ready{m_fd.Get(), POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(timeout.count())) <= 0)
            return std::nullopt;
        uint8_t buffer[2048];
        sockaddr_in from{};
        socklen_t length = sizeof(from);
        const ssize_t got =
            recvfrom(m_fd.Get(), buffer, sizeof(buffer), 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0)
            return std::nullopt;
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &from.sin_addr, text, sizeof(text));
        return PeerDatagram{text, ntohs(from.sin_port), std::vector<uint8_t>(buffer, buffer + got)};
    }

    // Every datagram until none arrives for quiet.
    std::vector<PeerDatagram> ReceiveAll(std::chrono::milliseconds quiet) const
    {
        std::vector<PeerDatagram> all;
        while (std::optional<PeerDatagram> next = Receive(quiet))
            all.push_back(std::move(*next));
        return all;
    }

private:
    CUniqueFd m_fd;
};

// A device of a test LAN as far as a test needs one: an address on a device host, a socket that
// receives the tool's requests through the group and one that sends from the device's address.
class CLanPeerDevice
{
public:
    CLanPeerDevice(CTestLan& lan, const std::string& host, const std::string& ip, MacBytes mac, uint16_t apType = 261)
        : m_ip(ip), m_mac(mac), m_apType(apType),
          m_addressAdded(lan.Run(host, {"ip", "addr", "add", ip + "/16", "dev", "eth0"}) == 0),
          m_requests(lan, host, ip, kRequestPort, true), m_sender(lan, host, ip, 0)
    {
    }

    bool Ready() const { return m_addressAdded && m_requests.Valid() && m_sender.Valid(); }
    const std::string& Ip() const { return m_ip; }
    std::string MacText() const { return MacBytesToText(m_mac); }
    const CLanSocket& Requests() const { return m_requests; }

    // The requests addressed to this device within the timeout, the others dropped.
    std::vector<PeerDatagram> RequestsFor(std::chrono::milliseconds quiet) const
    {
        std::vector<PeerDatagram> mine;
        for (PeerDatagram& datagram : m_requests.ReceiveAll(quiet))
            if (datagram.Mac() == MacText())
                mine.push_back(std::move(datagram));
        return mine;
    }

    bool Send(uint16_t msgType, uint16_t port, std::span<const uint8_t> payload = {}) const
    {
        return m_sender.SendTo("10.77.0.1", port, EncodeDevicePacket(m_apType, msgType, m_mac, payload).value());
    }
    bool SendDiscoverReport() const
    {
        ap_discover_info report;
        std::memset(&report, 0, sizeof(report));
        report.version.Assign("V1.0.0");
        report.ap_name.Assign("peer");
        return Send(kMsgDiscover, kDiscoverReportPort, RecordBytes(report));
    }
    bool SendConfigReport() const
    {
        ap_config_info config;
        std::memset(&config, 0, sizeof(config));
        config.ap_type = m_apType;
        const Ipv4Bytes address = IpTextToBytes(m_ip);
        std::copy(address.begin(), address.end(), config.ip);
        config.version.Assign("V1.0.0");
        return Send(kMsgConfigQuery, kReplyPort, RecordBytes(config));
    }
    bool SendHeartbeat(uint32_t upTime) const
    {
        ap_heartbeat_info heartbeat;
        std::memset(&heartbeat, 0, sizeof(heartbeat));
        heartbeat.version.Assign("V1.0.0");
        heartbeat.up_time = upTime;
        return Send(kMsgHeartbeat, kHeartbeatPort, RecordBytes(heartbeat));
    }

private:
    std::string m_ip;
    MacBytes m_mac;
    uint16_t m_apType;
    bool m_addressAdded;
    CLanSocket m_requests;
    CLanSocket m_sender;
};

inline size_t CountOccurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}
