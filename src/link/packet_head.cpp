#include "link/packet_head.h"

#include <arpa/inet.h>
#include <cstring>

#include "link/address_text.h"

namespace
{

std::vector<uint8_t> Assemble(ap_packet_head head, std::span<const uint8_t> payload)
{
    head.magic = kApPacketMagic;
    head.reserved = 0;
    head.payload_len = static_cast<uint16_t>(payload.size());
    std::vector<uint8_t> datagram(kApPacketHeadSize + payload.size());
    std::memcpy(datagram.data(), &head, sizeof(head));
    if (!payload.empty())
        std::memcpy(datagram.data() + kApPacketHeadSize, payload.data(), payload.size());
    return datagram;
}

bool ChannelAccepts(ApChannel channel, uint16_t msgType)
{
    switch (channel)
    {
    case ApChannel::DiscoverReports:
        return msgType == kMsgDiscover;
    case ApChannel::Heartbeats:
        return msgType == kMsgHeartbeat;
    case ApChannel::Replies:
        return true;
    }
    return false;
}

} // namespace

std::optional<std::vector<uint8_t>> EncodePacket(uint16_t msgType, std::string_view macText, bool addressed,
                                                 std::span<const uint8_t> payload)
{
    if (payload.size() > kApPayloadMaxSize)
        return std::nullopt;
    ap_packet_head head{};
    head.ap_type = 0;
    head.msg_type = msgType;
    head.addressed = addressed ? 1 : 0;
    const MacBytes mac = MacTextToBytes(macText);
    std::memcpy(head.mac, mac.data(), mac.size());
    return Assemble(head, payload);
}

std::optional<std::vector<uint8_t>>
EncodeDevicePacket(uint16_t apType, uint16_t msgType, std::span<const uint8_t, 6> mac, std::span<const uint8_t> payload)
{
    if (payload.size() > kApPayloadMaxSize)
        return std::nullopt;
    ap_packet_head head{};
    head.ap_type = apType;
    head.msg_type = msgType;
    head.addressed = 0;
    std::memcpy(head.mac, mac.data(), mac.size());
    return Assemble(head, payload);
}

std::optional<ap_packet_info> DecodePacket(std::span<const uint8_t> datagram, ApChannel channel,
                                           const sockaddr_in& from)
{
    if (datagram.size() < kApPacketHeadSize || datagram.size() > kApPacketMaxSize)
        return std::nullopt;
    ap_packet_head head;
    std::memcpy(&head, datagram.data(), sizeof(head));
    if (head.magic != kApPacketMagic || !ChannelAccepts(channel, head.msg_type))
        return std::nullopt;

    ap_packet_info packet;
    std::memset(&packet, 0, sizeof(packet));
    packet.from = from;
    std::memcpy(packet.data, datagram.data(), datagram.size());
    packet.length = static_cast<uint16_t>(datagram.size());
    return packet;
}

ap_packet_head ReadPacketHead(const ap_packet_info& packet)
{
    ap_packet_head head;
    std::memcpy(&head, packet.data, sizeof(head));
    return head;
}

std::string PacketMacText(const ap_packet_info& packet)
{
    return MacBytesToText(std::span<const uint8_t, 6>(packet.data + offsetof(ap_packet_head, mac), 6));
}

std::string SenderIpText(const ap_packet_info& packet)
{
    char text[INET_ADDRSTRLEN] = {};
    if (!inet_ntop(AF_INET, &packet.from.sin_addr, text, sizeof(text)))
        return {};
    return text;
}

std::span<const uint8_t> PayloadArea(const ap_packet_info& packet)
{
    return {packet.data + kApPacketHeadSize, kApPayloadMaxSize};
}

size_t ClaimedPayloadLength(const ap_packet_info& packet)
{
    return std::min<size_t>(ReadPacketHead(packet).payload_len, kApPayloadMaxSize);
}

uint8_t ReadResultByte(const ap_packet_info& packet)
{
    return packet.data[kApPacketHeadSize];
}
