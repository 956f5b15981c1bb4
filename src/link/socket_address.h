// IPv4 socket addresses from the two forms the code keeps an address in.
#pragma once

#include <cstdint>
#include <netinet/in.h>
#include <optional>
#include <string>

#include "link/address_text.h"

// ip:port from the address's four bytes.
sockaddr_in SocketAddress(const Ipv4Bytes& ip, uint16_t port);

// ip:port from dotted text; an empty text is the any address. Nothing when the text is no IPv4 address.
std::optional<sockaddr_in> ParseSocketAddress(const std::string& ip, uint16_t port);
