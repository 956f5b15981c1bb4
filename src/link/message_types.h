// The device protocol's message types, ports, addresses and size limits.
#pragma once

#include <cstddef>
#include <cstdint>

// Sizes of a datagram: a 16-byte header, then at most 1456 payload bytes.
constexpr size_t kApPacketHeadSize = 16;
constexpr size_t kApPacketMaxSize = 1472;
constexpr size_t kApPayloadMaxSize = kApPacketMaxSize - kApPacketHeadSize;
constexpr uint16_t kApPacketMagic = 0x1988;

// Where the tool listens.
constexpr uint16_t kDiscoverReportPort = 9785; // devices send discover reports (type 1) here
constexpr uint16_t kHeartbeatPort = 9787;      // devices send heartbeats (type 15) here
constexpr uint16_t kReplyPort = 9788;          // devices send every other message here

// Where the tool sends.
constexpr uint16_t kDiscoverBroadcastPort = 9786; // discover broadcasts; also the local port they leave from
constexpr uint16_t kRequestPort = 9787;           // requests to one device, to the multicast group
constexpr const char* kRequestGroup = "239.255.255.250";
constexpr const char* kLimitedBroadcast = "255.255.255.255";

// Message types (the header's msg_type). A device answers a request with the same type, to kReplyPort.
// The names in quotes are how log lines call the request.
constexpr uint16_t kMsgDiscover = 1;           // tool: broadcast and acknowledge, no payload; device: ap_discover_info
constexpr uint16_t kMsgConfigQuery = 2;        // tool: no payload; device: ap_config_info (configuration report)
constexpr uint16_t kMsgIpSet = 3;              // "KAVRO_APIpSetRequest"
constexpr uint16_t kMsgWirelessSet = 4;        // wireless settings and security
constexpr uint16_t kMsgRebootSchedule = 5;     // reboot schedule block
constexpr uint16_t kMsgSearchAp = 6;           // "KAVRO_APSearchApRequest"; device: ap_survey_info report(s)
constexpr uint16_t kMsgBridgeSet = 7;          // "KAVRO_APBridgeSetRequest"; device: result byte
constexpr uint16_t kMsgDeviceName = 8;         // name block
constexpr uint16_t kMsgReboot = 9;             // no payload; device: result byte
constexpr uint16_t kMsgRestore = 10;           // factory restore, no payload; device: result byte
constexpr uint16_t kMsgUpgradeRequest = 11;    // firmware upgrade order
constexpr uint16_t kMsgUpgradeReport = 12;     // never sent by the tool; device: result byte
constexpr uint16_t kMsgVlan = 13;              // VLAN block; device: result byte
constexpr uint16_t kMsgHeartbeat = 15;         // device: ap_heartbeat_info; tool: "KAVRO_APHeartbeatAck", no payload
constexpr uint16_t kMsgUpgradeStart = 16;      // no payload
constexpr uint16_t kMsgRelease = 17;           // no payload, no answer expected
constexpr uint16_t kMsgTransparentBridge = 18; // "KAVRO_APTransparentBridgeRequest"
constexpr uint16_t kMsgTdma = 19;              // "KAVRO_APTdMaenRequest"

// The receiving socket a datagram arrived on; each accepts its own message types.
enum class ApChannel
{
    DiscoverReports, // kDiscoverReportPort: type 1 only
    Heartbeats,      // kHeartbeatPort: type 15 only
    Replies,         // kReplyPort: any type
};
