#include "common/netns_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <thread>

#include "common/datagram_head.h"
#include "link/message_types.h"
#include "link/socket_address.h"

namespace
{

// The socket of CNetnsSocket, made by a thread that is already inside the namespace.
CUniqueFd OpenSocket(const std::string& localIp, uint16_t port, NetnsSocketOptions options)
{
    const std::optional<sockaddr_in> local =
        ParseSocketAddress(options.joinRequestGroup ? std::string() : localIp, port);
    const std::optional<sockaddr_in> interface = ParseSocketAddress(localIp, 0);
    if (!local || !interface)
        return {};
    CUniqueFd fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!fd)
        return {};
    const int on = 1;
    const int buffer = 8 * 1024 * 1024;
    if (options.reuseAddress)
        setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
    setsockopt(fd.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof(on));
    setsockopt(fd.Get(), SOL_SOCKET, SO_RCVBUFFORCE, &buffer, sizeof(buffer));
    setsockopt(fd.Get(), IPPROTO_IP, IP_MULTICAST_IF, &interface->sin_addr, sizeof(interface->sin_addr));
    if (bind(fd.Get(), reinterpret_cast<const sockaddr*>(&*local), sizeof(*local)) != 0)
        return {};
    if (options.joinRequestGroup)
    {
        ip_mreq membership{};
        inet_pton(AF_INET, kRequestGroup, &membership.imr_multiaddr);
        membership.imr_interface = interface->sin_addr;
        if (setsockopt(fd.Get(), IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof(membership)) != 0)
            return {};
    }
    return fd;
}

} // namespace

std::string NetnsDatagram::FromIp() const
{
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &from.sin_addr, text, sizeof(text));
    return text;
}

uint16_t NetnsDatagram::FromPort() const
{
    return ntohs(from.sin_port);
}

uint16_t NetnsDatagram::Type() const
{
    return DatagramType(bytes);
}

std::string NetnsDatagram::Mac() const
{
    return DatagramMac(bytes);
}

CNetnsSocket::CNetnsSocket(const std::string& namespaceName, const std::string& localIp, uint16_t port,
                           NetnsSocketOptions options)
{
    std::thread maker(
        [&]
        {
            const CUniqueFd ns(open(("/var/run/netns/" + namespaceName).c_str(), O_RDONLY | O_CLOEXEC));
            if (ns && setns(ns.Get(), CLONE_NEWNET) == 0)
                m_fd = OpenSocket(localIp, port, options);
        });
    maker.join();
}

bool CNetnsSocket::SendTo(const std::string& ip, uint16_t port, std::span<const uint8_t> bytes) const
{
    const std::optional<sockaddr_in> to = ParseSocketAddress(ip, port);
    return to && sendto(m_fd.Get(), bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&*to),
                        sizeof(*to)) == static_cast<ssize_t>(bytes.size());
}

std::optional<NetnsDatagram> CNetnsSocket::Receive(std::chrono::milliseconds timeout) const
{
    pollfd waiting{m_fd.Get(), POLLIN, 0};
    if (poll(&waiting, 1, static_cast<int>(timeout.count())) <= 0)
        return std::nullopt;
    NetnsDatagram datagram{};
    datagram.bytes.resize(65536);
    socklen_t length = sizeof(datagram.from);
    const ssize_t received = recvfrom(m_fd.Get(), datagram.bytes.data(), datagram.bytes.size(), 0,
                                      reinterpret_cast<sockaddr*>(&datagram.from), &length);
    if (received < 0)
        return std::nullopt;
    datagram.bytes.resize(static_cast<size_t>(received));
    return datagram;
}

std::vector<NetnsDatagram> CNetnsSocket::ReceiveFor(std::chrono::milliseconds window) const
{
    std::vector<NetnsDatagram> all;
    const auto end = std::chrono::steady_clock::now() + window;
    while (true)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        if (auto datagram = Receive(left))
            all.push_back(std::move(*datagram));
    }
    return all;
}

std::vector<NetnsDatagram> CNetnsSocket::ReceiveAll(std::chrono::milliseconds quiet) const
{
    std::vector<NetnsDatagram> all;
    while (std::optional<NetnsDatagram> next = Receive(quiet))
        all.push_back(std::move(*next));
    return all;
}
