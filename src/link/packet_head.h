// The datagram header, Encode for what the tool sends, Decode with each receiving socket's acceptance rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <netinet/in.h>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/message_types.h"
#include "link/wire_types.h"

// The 16 bytes in front of every payload, in both directions.
struct ap_packet_head
{
    le_u16 magic;       // kApPacketMagic; anything else is dropped on receipt
    le_u16 ap_type;     // from a device: its model code; the tool sends 0
    le_u16 msg_type;    // kMsg* of message_types.h
    uint8_t addressed;  // 1 in what the tool sends to one device, 0 in the discover broadcast; not examined on receipt
    uint8_t reserved;   // 0
    uint8_t mac[6];     // from the tool: the target device, zero in the broadcast; from a device: its own MAC
    le_u16 payload_len; // payload bytes that follow, as the sender claims; never trusted for reading
};

static_assert(sizeof(ap_packet_head) == kApPacketHeadSize);
static_assert(offsetof(ap_packet_head, magic) == 0);
static_assert(offsetof(ap_packet_head, ap_type) == 2);
static_assert(offsetof(ap_packet_head, msg_type) == 4);
static_assert(offsetof(ap_packet_head, addressed) == 6);
static_assert(offsetof(ap_packet_head, reserved) == 7);
static_assert(offsetof(ap_packet_head, mac) == 8);
static_assert(offsetof(ap_packet_head, payload_len) == 14);

// One accepted datagram as the receive threads hand it on.
struct ap_packet_info
{
    sockaddr_in from;               // the sender as received; its address is the device's IP for the engine
    uint8_t data[kApPacketMaxSize]; // header and payload, zero past the received bytes
    uint16_t length;                // bytes received, 16 to 1472 (what Decode saw; the header's claim may differ)
};

// The datagram the tool sends: magic, device type 0, the message type, the addressed flag, the
// target's MAC (empty text: zeros), the payload length, then the payload. Nothing when the payload
// exceeds kApPayloadMaxSize.
std::optional<std::vector<uint8_t>> EncodePacket(uint16_t msgType, std::string_view macText, bool addressed,
                                                 std::span<const uint8_t> payload = {});

// The datagram a device sends (for the device simulator and tests): header with the device's model
// code and its own MAC, addressed flag 0, then the payload. Nothing when the payload is too long.
std::optional<std::vector<uint8_t>> EncodeDevicePacket(uint16_t apType, uint16_t msgType,
                                                       std::span<const uint8_t, 6> mac,
                                                       std::span<const uint8_t> payload = {});

// The datagram as received on channel, or nothing when it is to be dropped without a trace:
// shorter than 16 or longer than 1472 bytes, a magic other than 0x1988 (little-endian), or a message
// type the channel does not take (DiscoverReports: 1 only; Heartbeats: 15 only; Replies: any).
// The payload length is not compared with the datagram's size. Receive into a buffer larger than
// 1472 bytes (or look at MSG_TRUNC), so that a longer datagram is seen as such and dropped here.
std::optional<ap_packet_info> DecodePacket(std::span<const uint8_t> datagram, ApChannel channel,
                                           const sockaddr_in& from);

// The header of an accepted datagram.
ap_packet_head ReadPacketHead(const ap_packet_info& packet);

// The header's MAC as text: the device's identity.
std::string PacketMacText(const ap_packet_info& packet);

// The sender's IPv4 address as dotted text.
std::string SenderIpText(const ap_packet_info& packet);

// The payload area: the kApPayloadMaxSize bytes after the header, zero past the received bytes,
// whatever the header claims.
std::span<const uint8_t> PayloadArea(const ap_packet_info& packet);

// The header's payload length, cut to what the buffer can hold.
size_t ClaimedPayloadLength(const ap_packet_info& packet);

// The result byte of the replies of types 7, 9, 10, 12 and 13: the first payload byte (0 when absent).
uint8_t ReadResultByte(const ap_packet_info& packet);
