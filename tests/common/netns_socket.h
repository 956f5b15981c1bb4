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

#include "link/unique_fd.h"

struct NetnsDatagram
{
    sockaddr_in from;
    std::vector<uint8_t> bytes;

    std::string FromIp() const;
    uint16_t FromPort() const;
    // The header's message type and MAC text; 0 and empty when shorter than a header.
    uint16_t Type() const;
    std::string Mac() const;
};

struct NetnsSocketOptions
{
    bool reuseAddress = true;
    // Bound to the any address and a member of the request group on localIp's interface.
    bool joinRequestGroup = false;
};

class CNetnsSocket
{
public:
    // A UDP socket in the named namespace (/var/run/netns/<name>), bound to localIp:port, with
    // broadcast on and multicast leaving through localIp. Invalid when any step fails.
    CNetnsSocket(const std::string& namespaceName, const std::string& localIp, uint16_t port,
                 NetnsSocketOptions options = {});

    bool Valid() const { return m_fd.Valid(); }
    bool SendTo(const std::string& ip, uint16_t port, std::span<const uint8_t> bytes) const;
    std::optional<NetnsDatagram> Receive(std::chrono::milliseconds timeout) const;
    // Everything that arrives until the window has passed.
    std::vector<NetnsDatagram> ReceiveFor(std::chrono::milliseconds window) const;
    // Everything that arrives until none has come for quiet.
    std::vector<NetnsDatagram> ReceiveAll(std::chrono::milliseconds quiet) const;

private:
    CUniqueFd m_fd;
};
