// The engine's UDP sockets: creation with every option the protocol needs, and sending one datagram.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "link/unique_fd.h"

constexpr int kSocketBuffer = 1048576;        // 1 MiB
constexpr int kConfigSocketBuffer = 10485760; // 10 MiB, for the replies and reports socket

// Creates an IPv4 UDP socket into slot (closing what it held): address reuse, broadcast when asked,
// membership of group on localIp's interface with multicast loopback off when asked, the two buffer
// sizes, bound to localIp (empty: any address) and port. Each failing step logs its ERROR line,
// leaves the slot empty and, when failure is given, describes itself there with the port and the
// system's reason.
bool AcCreateSocket(CUniqueFd& slot, uint16_t port, bool broadcast, int sendBuffer, int receiveBuffer, bool multicast,
                    const std::string& localIp, const std::string& group, std::string* failure = nullptr);

// Switches multicast loopback off: nothing this socket sends to a group comes back to this host.
bool DisableMulticastLoop(int fd);

// Sends the datagram to ip:port. Logs "socket sendto fail" and returns false when nothing was sent.
bool SendDatagram(int fd, const std::string& ip, uint16_t port, std::span<const uint8_t> datagram);

// Sends the datagram to ip:port from sourceIp and the socket's own port, leaving through the
// interface that holds sourceIp, as a socket bound to sourceIp would. Logs like SendDatagram.
bool SendDatagramFrom(int fd, const std::string& sourceIp, const std::string& ip, uint16_t port,
                      std::span<const uint8_t> datagram);
