#include "link/device_reports.h"

ap_discover_info ReadDiscoverInfo(const ap_packet_info& packet)
{
    const std::span<const uint8_t> payload = PayloadArea(packet);
    if (ClaimedPayloadLength(packet) <= kDiscoverVersionOnlyLength)
        return RecordFromBytes<ap_discover_info>(payload.first(kDiscoverVersionOnlyLength));
    return RecordFromBytes<ap_discover_info>(payload);
}

ap_heartbeat_info ReadHeartbeatInfo(const ap_packet_info& packet)
{
    return RecordFromBytes<ap_heartbeat_info>(PayloadArea(packet));
}
