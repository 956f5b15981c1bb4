#include "common/netns_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "link/socket_address.h"

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

CNetnsSocket::CNetnsSocket(const std::string& namespaceName, const std::string& localIp, uint16_t port)
{
    std::thread maker(
        [&]
        {
            const int ns = open(("/var/run/netns/" + namespaceName).c_str(), O_RDONLY | O_CLOEXEC);
            if (ns < 0)
                return;
            const bool entered = setns(ns, CLONE_NEWNET) == 0;
            close(ns);
            if (!entered)
                return;
            const std::optional<sockaddr_in> local = ParseSocketAddress(localIp, port);
            const int fd = local ? socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0) : -1;
            if (fd < 0)
                return;
            const int on = 1;
            const int buffer = 8 * 1024 * 1024;
            setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
            setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof(on));
            setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &buffer, sizeof(buffer));
            setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &local->sin_addr, sizeof(local->sin_addr));
            if (bind(fd, reinterpret_cast<const sockaddr*>(&*local), sizeof(*local)) != 0)
            {
                close(fd);
                return;
            }
            m_fd = fd;
        });
    maker.join();
}

CNetnsSocket::~CNetnsSocket()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool CNetnsSocket::SendTo(const std::string& ip, uint16_t port, std::span<const uint8_t> bytes)
{
    const std::optional<sockaddr_in> to = ParseSocketAddress(ip, port);
    return to && sendto(m_fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&*to), sizeof(*to)) ==
                     static_cast<ssize_t>(bytes.size());
}

std::optional<NetnsDatagram> CNetnsSocket::Receive(std::chrono::milliseconds timeout)
{
    pollfd waiting{m_fd, POLLIN, 0};
    if (poll(&waiting, 1, static_cast<int>(timeout.count())) <= 0)
        return std::nullopt;
    NetnsDatagram datagram{};
    datagram.bytes.resize(65536);
    socklen_t length = sizeof(datagram.from);
    const ssize_t received = recvfrom(m_fd, datagram.bytes.data(), datagram.bytes.size(), 0,
                                      reinterpret_cast<sockaddr*>(&datagram.from), &length);
    if (received < 0)
        return std::nullopt;
    datagram.bytes.resize(static_cast<size_t>(received));
    return datagram;
}

std::vector<NetnsDatagram> CNetnsSocket::ReceiveFor(std::chrono::milliseconds window)
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
