#include "link/config_info.h"

#include <algorithm>
#include <cstring>

std::span<const uint8_t> ConfigBlockBytes(const ap_config_info& config, ap_config_block block)
{
    return RecordBytes(config).subspan(block.offset, block.size);
}

bool ConfigBlockDiffers(const ap_config_info& left, const ap_config_info& right, ap_config_block block)
{
    const std::span<const uint8_t> a = ConfigBlockBytes(left, block);
    const std::span<const uint8_t> b = ConfigBlockBytes(right, block);
    return !std::equal(a.begin(), a.end(), b.begin());
}

ap_config_info ReadConfigInfo(const ap_packet_info& packet)
{
    return RecordFromBytes<ap_config_info>(PayloadArea(packet).first(ClaimedPayloadLength(packet)));
}

std::string InfoMacText(const ap_info_stu& info)
{
    const char* end = static_cast<const char*>(std::memchr(info.mac, '\0', sizeof(info.mac)));
    return std::string(info.mac, end ? static_cast<size_t>(end - info.mac) : sizeof(info.mac) - 1);
}

void SetInfoMacText(ap_info_stu& info, std::string_view macText)
{
    std::memset(info.mac, 0, sizeof(info.mac));
    const size_t kept = std::min(macText.size(), sizeof(info.mac) - 1);
    if (kept > 0)
        std::memcpy(info.mac, macText.data(), kept);
}
