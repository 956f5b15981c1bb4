// UDP sockets that live in a test LAN's namespace while the test itself stays in its own: the
// socket is made on a short-lived thread that has entered the namespace, then used from anywhere.
#pragma once

#include <chrono>
#include <cstdint>
#include <netinet/in.h>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct NetnsDatagram
{
    sockaddr_in from;
    std::vector<uint8_t> bytes;

    std::string FromIp() const;
    uint16_t FromPort() const;
};

class CNetnsSocket
{
public:
    // A UDP socket in the named namespace (/var/run/netns/<name>), bound to localIp:port, with
    // broadcast on and multicast leaving through localIp. Invalid when any step fails.
    CNetnsSocket(const std::string& namespaceName, const std::string& localIp, uint16_t port);
    ~CNetnsSocket();
    CNetnsSocket(const CNetnsSocket&) = delete;
    CNetnsSocket& operator=(const CNetnsSocket&) = delete;

    bool Valid() const { return m_fd >= 0; }
    bool SendTo(const std::string& ip, uint16_t port, std::span<const uint8_t> bytes);
    std::optional<NetnsDatagram> Receive(std::chrono::milliseconds timeout);
    // Everything that arrives until the window has passed.
    std::vector<NetnsDatagram> ReceiveFor(std::chrono::milliseconds window);

private:
    int m_fd = -1;
};
