#include <arpa/inet.h>
#include <cstring>

#include <gtest/gtest.h>

#include "link/address_text.h"
#include "link/packet_head.h"
#include "link/socket_address.h"

namespace
{

sockaddr_in Sender(const char* ip, uint16_t port)
{
    return ParseSocketAddress(ip, port).value();
}

// A raw datagram: header fields written byte by byte, so the test does not lean on the struct.
std::vector<uint8_t> RawDatagram(uint8_t magicLow, uint8_t magicHigh, uint16_t msgType, size_t size,
                                 uint16_t payloadLen = 0)
{
    std::vector<uint8_t> bytes(size, 0);
    const uint8_t head[16] = {magicLow,
                              magicHigh,
                              0x05,
                              0x01,
                              static_cast<uint8_t>(msgType & 0xFF),
                              static_cast<uint8_t>(msgType >> 8),
                              0,
                              0,
                              0x00,
                              0x1A,
                              0x2B,
                              0x3C,
                              0x4D,
                              0x5E,
                              static_cast<uint8_t>(payloadLen & 0xFF),
                              static_cast<uint8_t>(payloadLen >> 8)};
    std::memcpy(bytes.data(), head, std::min<size_t>(size, sizeof(head)));
    return bytes;
}

} // namespace

TEST(PacketDecode, AcceptanceRulesOfEachChannel)
{
    struct Case
    {
        const char* what;
        std::vector<uint8_t> datagram;
        ApChannel channel;
        bool accepted;
    };
    const Case cases[] = {
        {"bare heartbeat", RawDatagram(0x88, 0x19, 15, 16), ApChannel::Heartbeats, true},
        {"magic big-endian", RawDatagram(0x19, 0x88, 15, 16), ApChannel::Heartbeats, false},
        {"discover on heartbeat socket", RawDatagram(0x88, 0x19, 1, 16), ApChannel::Heartbeats, false},
        {"reply on heartbeat socket", RawDatagram(0x88, 0x19, 2, 60), ApChannel::Heartbeats, false},
        {"discover report", RawDatagram(0x88, 0x19, 1, 128, 112), ApChannel::DiscoverReports, true},
        {"heartbeat on discover socket", RawDatagram(0x88, 0x19, 15, 56), ApChannel::DiscoverReports, false},
        {"configuration on discover socket", RawDatagram(0x88, 0x19, 2, 772), ApChannel::DiscoverReports, false},
        {"configuration report", RawDatagram(0x88, 0x19, 2, 772, 756), ApChannel::Replies, true},
        {"discover on reply socket", RawDatagram(0x88, 0x19, 1, 16), ApChannel::Replies, true},
        {"unknown type 14 on reply socket", RawDatagram(0x88, 0x19, 14, 16), ApChannel::Replies, true},
        {"type 0xFFFF on reply socket", RawDatagram(0x88, 0x19, 0xFFFF, 16), ApChannel::Replies, true},
        {"15 bytes", RawDatagram(0x88, 0x19, 15, 15), ApChannel::Heartbeats, false},
        {"empty", {}, ApChannel::Replies, false},
        {"1472 bytes", RawDatagram(0x88, 0x19, 6, 1472, 1456), ApChannel::Replies, true},
        {"1473 bytes", RawDatagram(0x88, 0x19, 6, 1473, 1457), ApChannel::Replies, false},
        {"zero magic", RawDatagram(0, 0, 6, 20), ApChannel::Replies, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodePacket(c.datagram, c.channel, Sender("10.77.0.5", 40000)).has_value(), c.accepted) << c.what;
}

TEST(PacketDecode, BareHeartbeatReadsAsZeroPayloadAndKeepsSenderAndHeader)
{
    const std::vector<uint8_t> datagram = RawDatagram(0x88, 0x19, 15, 16, 40);
    const std::optional<ap_packet_info> packet =
        DecodePacket(datagram, ApChannel::Heartbeats, Sender("10.77.1.23", 9787));
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->length, 16);
    EXPECT_EQ(packet->from.sin_family, AF_INET);
    EXPECT_EQ(ntohs(packet->from.sin_port), 9787);
    EXPECT_EQ(SenderIpText(*packet), "10.77.1.23");
    EXPECT_EQ(PacketMacText(*packet), "00:1a:2b:3c:4d:5e");

    const ap_packet_head head = ReadPacketHead(*packet);
    EXPECT_EQ(head.magic, kApPacketMagic);
    EXPECT_EQ(head.ap_type, 0x0105);
    EXPECT_EQ(head.msg_type, kMsgHeartbeat);
    EXPECT_EQ(head.payload_len, 40) << "the claim is kept, not compared with the size";

    const std::span<const uint8_t> payload = PayloadArea(*packet);
    ASSERT_EQ(payload.size(), kApPayloadMaxSize);
    EXPECT_TRUE(std::all_of(payload.begin(), payload.end(), [](uint8_t b) { return b == 0; }));
}

TEST(PacketDecode, DiscoverReportWithZeroMacPassesTheChannel)
{
    const MacBytes zero{};
    const std::optional<ap_packet_info> packet = DecodePacket(EncodeDevicePacket(3, kMsgDiscover, zero).value(),
                                                              ApChannel::DiscoverReports, Sender("10.77.0.7", 9785));
    ASSERT_TRUE(packet) << "rejecting an all-zero MAC is the engine's decision";
    EXPECT_EQ(PacketMacText(*packet), "00:00:00:00:00:00");
}

TEST(PacketDecode, ClaimedPayloadLengthNeverExceedsTheBuffer)
{
    for (const auto& [claim, expected] :
         {std::pair<uint16_t, size_t>{0, 0}, {756, 756}, {1456, 1456}, {1457, 1456}, {0xFFFF, 1456}})
    {
        const std::optional<ap_packet_info> packet =
            DecodePacket(RawDatagram(0x88, 0x19, 2, 16, claim), ApChannel::Replies, Sender("10.77.0.1", 9788));
        ASSERT_TRUE(packet);
        EXPECT_EQ(ClaimedPayloadLength(*packet), expected) << claim;
    }
}

TEST(PacketEncode, HeaderBytesOnTheWire)
{
    const uint8_t payload[] = {0xAA, 0xBB, 0xCC};
    const std::optional<std::vector<uint8_t>> request = EncodePacket(kMsgIpSet, "00:1a:2b:3c:4d:5e", true, payload);
    ASSERT_TRUE(request);
    const std::vector<uint8_t> expected = {0x88, 0x19, 0x00, 0x00, 0x03, 0x00, 0x01, 0x00, 0x00, 0x1A,
                                           0x2B, 0x3C, 0x4D, 0x5E, 0x03, 0x00, 0xAA, 0xBB, 0xCC};
    EXPECT_EQ(*request, expected);

    const std::optional<std::vector<uint8_t>> broadcast = EncodePacket(kMsgDiscover, "", false);
    ASSERT_TRUE(broadcast);
    const std::vector<uint8_t> bare = {0x88, 0x19, 0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(*broadcast, bare);

    const MacBytes mac = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55};
    const std::optional<std::vector<uint8_t>> report = EncodeDevicePacket(261, kMsgHeartbeat, mac, payload);
    ASSERT_TRUE(report);
    const std::vector<uint8_t> fromDevice = {0x88, 0x19, 0x05, 0x01, 0x0F, 0x00, 0x00, 0x00, 0x02, 0x11,
                                             0x22, 0x33, 0x44, 0x55, 0x03, 0x00, 0xAA, 0xBB, 0xCC};
    EXPECT_EQ(*report, fromDevice);
}

TEST(PacketEncode, PayloadLimitIs1456Bytes)
{
    const std::vector<uint8_t> largest(kApPayloadMaxSize, 0x5A);
    const std::optional<std::vector<uint8_t>> full = EncodePacket(kMsgWirelessSet, "02:00:00:00:00:01", true, largest);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->size(), kApPacketMaxSize);
    const std::optional<ap_packet_info> decoded = DecodePacket(*full, ApChannel::Replies, Sender("10.77.0.9", 9788));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(std::memcmp(PayloadArea(*decoded).data(), largest.data(), largest.size()), 0);

    const std::vector<uint8_t> tooLong(kApPayloadMaxSize + 1, 0);
    EXPECT_FALSE(EncodePacket(kMsgWirelessSet, "02:00:00:00:00:01", true, tooLong));
    const MacBytes mac{};
    EXPECT_FALSE(EncodeDevicePacket(1, kMsgSearchAp, mac, tooLong));
}

TEST(PacketDecode, ResultByteIsTheFirstPayloadByte)
{
    std::vector<uint8_t> reply = RawDatagram(0x88, 0x19, kMsgBridgeSet, 17, 1);
    reply[16] = 0x01;
    const std::optional<ap_packet_info> packet = DecodePacket(reply, ApChannel::Replies, Sender("10.77.0.2", 9788));
    ASSERT_TRUE(packet);
    EXPECT_EQ(ReadResultByte(*packet), 1);

    const std::optional<ap_packet_info> empty =
        DecodePacket(RawDatagram(0x88, 0x19, kMsgReboot, 16, 1), ApChannel::Replies, Sender("10.77.0.2", 9788));
    ASSERT_TRUE(empty);
    EXPECT_EQ(ReadResultByte(*empty), 0) << "a missing result byte reads as zero";
}

TEST(AddressText, MacBytesAndText)
{
    const uint8_t bytes[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    EXPECT_EQ(MacBytesToText(bytes), "00:1a:2b:3c:4d:5e");
    const uint8_t high[6] = {0xFF, 0xFE, 0x80, 0x7F, 0x01, 0x00};
    EXPECT_EQ(MacBytesToText(high), "ff:fe:80:7f:01:00");

    struct Case
    {
        const char* text;
        MacBytes bytes;
    };
    const Case cases[] = {
        {"00:1a:2b:3c:4d:5e", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}},
        {"00:1A:2B:3C:4D:5E", {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}},
        {"", {}},
        {"1:2:3:4:5:6", {1, 2, 3, 4, 5, 6}},
        {"aa:bb:cc", {0xAA, 0xBB, 0xCC, 0, 0, 0}},
        {"aa:bb:zz:dd:ee:ff", {0xAA, 0xBB, 0, 0, 0, 0}},
        {"aa-bb-cc-dd-ee-ff", {0xAA, 0, 0, 0, 0, 0}},
        {"123:fffffffff1ab:3:4:5:6", {0x23, 0xAB, 3, 4, 5, 6}},
        {"not a mac", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MacTextToBytes(c.text), c.bytes) << c.text;
}

TEST(AddressText, IpBytesTextAndNumber)
{
    const uint8_t ip[4] = {192, 168, 1, 20};
    EXPECT_EQ(IpBytesToText(ip), "192.168.1.20");

    struct BytesCase
    {
        const char* text;
        Ipv4Bytes bytes;
    };
    const BytesCase bytesCases[] = {
        {"192.168.1.20", {192, 168, 1, 20}}, {"", {0, 0, 0, 0}},          {"10.0.0", {10, 0, 0, 0}},
        {"300.1.2.3", {44, 1, 2, 3}},        {"a.b.c.d", {0, 0, 0, 0}},   {"10..0.1", {10, 0, 0, 0}},
        {"0.0.0.0", {0, 0, 0, 0}},           {"1.2.3.4.5", {1, 2, 3, 4}},
    };
    for (const BytesCase& c : bytesCases)
        EXPECT_EQ(IpTextToBytes(c.text), c.bytes) << c.text;

    struct NumberCase
    {
        const char* text;
        uint32_t number;
    };
    const NumberCase numberCases[] = {
        {"10.0.0.1", (10u << 24) + 1}, {"10.0.0.9", (10u << 24) + 9},    {"10.0.0.10", (10u << 24) + 10},
        {"192.168.1.1", 3232235777u},  {"255.255.255.255", 4294967295u}, {"", 0},
        {"10.0.0", 10u << 24},         {"1.2.3.4.99", 0x01020304u},
    };
    for (const NumberCase& c : numberCases)
        EXPECT_EQ(IpTextToNumber(c.text), c.number) << c.text;
}
