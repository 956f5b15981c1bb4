#include "link/socket_address.h"

#include <arpa/inet.h>
#include <cstring>

sockaddr_in SocketAddress(const Ipv4Bytes& ip, uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    std::memcpy(&address.sin_addr, ip.data(), ip.size());
    return address;
}

std::optional<sockaddr_in> ParseSocketAddress(const std::string& ip, uint16_t port)
{
    sockaddr_in address = SocketAddress({0, 0, 0, 0}, port);
    if (!ip.empty() && inet_pton(AF_INET, ip.c_str(), &address.sin_addr) != 1)
        return std::nullopt;
    return address;
}
