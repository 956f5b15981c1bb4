// Sending a UDP datagram with its source address chosen per datagram (IP_PKTINFO).
#pragma once

#include <cstdint>
#include <netinet/in.h>
#include <span>
#include <sys/types.h>

// Sends datagram to target from source and the socket's own port; the route lookup picks the
// interface that holds source, as it would for a socket bound there. Returns what sendmsg returns.
ssize_t SendWithSourceAddress(int fd, const sockaddr_in& target, const in_addr& source,
                              std::span<const uint8_t> datagram, int flags);
