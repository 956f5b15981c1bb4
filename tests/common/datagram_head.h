// The header of a datagram as tests look at it, whichever way they caught the datagram.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "link/address_text.h"
#include "link/packet_head.h"

// The header at the start of bytes; all zero when bytes are shorter than a header.
inline ap_packet_head DatagramHead(std::span<const uint8_t> bytes)
{
    ap_packet_head head;
    std::memset(&head, 0, sizeof(head));
    if (bytes.size() >= sizeof(head))
        std::memcpy(&head, bytes.data(), sizeof(head));
    return head;
}

inline uint16_t DatagramType(std::span<const uint8_t> bytes)
{
    return DatagramHead(bytes).msg_type;
}

// The header's MAC as text; empty when bytes are shorter than a header.
inline std::string DatagramMac(std::span<const uint8_t> bytes)
{
    if (bytes.size() < sizeof(ap_packet_head))
        return {};
    const ap_packet_head head = DatagramHead(bytes);
    return MacBytesToText(head.mac);
}
