// Arbitrary bytes through Decode and every record reader. The first input byte picks the receiving
// socket; the rest is the datagram. Also feeds the text of the datagram to the address parsers and
// the device-text conversion, which see what devices and users send.
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "link/address_text.h"
#include "link/config_info.h"
#include "link/device_reports.h"
#include "link/socket_address.h"
#include "link/survey_info.h"
#include "support/operate_character.h"
#include "support/validation_rules.h"

namespace
{

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// Touches every byte of a text field the way callers do, so a reader past the record would show.
size_t Consume(std::string_view text)
{
    size_t sum = 0;
    for (char c : text)
        sum += static_cast<unsigned char>(c);
    return sum + DeviceTextToLocal(text).size();
}

void ReadRecords(const ap_packet_info& packet)
{
    const ap_packet_head head = ReadPacketHead(packet);
    Require(head.magic == kApPacketMagic);
    Require(packet.length >= kApPacketHeadSize && packet.length <= kApPacketMaxSize);
    Require(ClaimedPayloadLength(packet) <= kApPayloadMaxSize);
    Require(PacketMacText(packet).size() == 17);
    MacBytes mac;
    std::memcpy(mac.data(), head.mac, mac.size());
    Require(MacTextToBytes(PacketMacText(packet)) == mac);
    (void)SenderIpText(packet);
    (void)ReadResultByte(packet);

    const ap_discover_info discover = ReadDiscoverInfo(packet);
    Consume(discover.version.View());
    Consume(discover.ap_name.View());
    Consume(discover.ssid.View());

    const ap_heartbeat_info heartbeat = ReadHeartbeatInfo(packet);
    Consume(heartbeat.version.View());

    const ap_config_info config = ReadConfigInfo(packet);
    Consume(config.ap_name.View());
    Consume(config.version.View());
    Consume(config.ssid.View());
    Consume(config.bridge_ssid.View());
    Consume(config.wpapsk_key_value.View());
    Consume(config.wpa_key.View());
    Consume(config.wep_key_value3.View());
    Require(IpBytesToText(config.ip).size() <= 15);
    (void)ConfigBlockDiffers(config, ap_config_info{}, kConfigWirelessBlock);

    const ap_survey_info survey = ReadSurveyInfo(packet);
    Require(survey.icount <= kSurveyMaxEntries);
    Require(survey.icount == 0 ||
            kApPacketHeadSize + 3 + survey.icount * sizeof(config_otherwl_basic) <= packet.length);
    for (size_t i = 0; i < survey.icount; ++i)
    {
        Consume(survey.entries[i].ssid.View());
        Require(MacBytesToText(survey.entries[i].mac).size() == 17);
    }
}

void ParseTexts(std::string_view text)
{
    (void)MacTextToBytes(text);
    (void)IpTextToBytes(text);
    (void)IpTextToNumber(text);
    const bool valid = IsValidIpAddress(text, false);
    Require(!valid || ParseAddressText(text).has_value());
    if (IsValidSubnetMask(text))
        Require(ParseAddressText(text).has_value());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const ApChannel channel = static_cast<ApChannel>(data[0] % 3);
    const std::span<const uint8_t> datagram(data + 1, size - 1);

    const sockaddr_in from = SocketAddress({10, 77, 0, 1}, kReplyPort);

    const std::optional<ap_packet_info> packet = DecodePacket(datagram, channel, from);
    if (packet)
        ReadRecords(*packet);
    else
        Require(datagram.size() < kApPacketHeadSize || datagram.size() > kApPacketMaxSize ||
                channel != ApChannel::Replies || datagram[0] != 0x88 || datagram[1] != 0x19);

    ParseTexts(std::string_view(reinterpret_cast<const char*>(datagram.data()), std::min<size_t>(datagram.size(), 64)));
    return 0;
}
