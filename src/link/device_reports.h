// The reports a device sends on its own: the discover report (type 1) and the heartbeat (type 15).
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/packet_head.h"
#include "link/wire_types.h"

// Payload of a discover report, to kDiscoverReportPort. The device's model code is in the header.
struct ap_discover_info
{
    ap_text_field<32> version; // firmware version text
    uint8_t work_mode;
    uint8_t mode_btn_status; // position of the device's mode switch
    uint8_t unread_35;
    le_u32 up_time;            // seconds since the device started
    ap_text_field<32> ap_name; // UTF-8
    ap_text_field<32> ssid;    // UTF-8
    uint8_t channel;
    uint8_t bridge_transparent;
    uint8_t tdmaEn;
    uint8_t unread_109[3];
};

// Payload of a heartbeat, to kHeartbeatPort.
struct ap_heartbeat_info
{
    ap_text_field<32> version;
    uint8_t unread_33[3];
    le_u32 up_time; // seconds since the device started
};

// A discover report whose payload length is at most this is its version block alone.
constexpr size_t kDiscoverVersionOnlyLength = 33;

// The discover report of a datagram. A claimed payload length of 33 or less gives the version block
// (the payload's first 33 bytes) and zero in every other field; otherwise the 112 bytes after the
// header as they are. Texts are left as the device sent them.
ap_discover_info ReadDiscoverInfo(const ap_packet_info& packet);

// The heartbeat of a datagram: the 40 bytes after the header (zero where nothing was received).
ap_heartbeat_info ReadHeartbeatInfo(const ap_packet_info& packet);

static_assert(sizeof(ap_discover_info) == 112);
static_assert(offsetof(ap_discover_info, version) == 0);
static_assert(offsetof(ap_discover_info, work_mode) == 33);
static_assert(offsetof(ap_discover_info, mode_btn_status) == 34);
static_assert(offsetof(ap_discover_info, unread_35) == 35);
static_assert(offsetof(ap_discover_info, up_time) == 36);
static_assert(offsetof(ap_discover_info, ap_name) == 40);
static_assert(offsetof(ap_discover_info, ssid) == 73);
static_assert(offsetof(ap_discover_info, channel) == 106);
static_assert(offsetof(ap_discover_info, bridge_transparent) == 107);
static_assert(offsetof(ap_discover_info, tdmaEn) == 108);
static_assert(offsetof(ap_discover_info, unread_109) == 109);

static_assert(sizeof(ap_heartbeat_info) == 40);
static_assert(offsetof(ap_heartbeat_info, version) == 0);
static_assert(offsetof(ap_heartbeat_info, unread_33) == 33);
static_assert(offsetof(ap_heartbeat_info, up_time) == 36);
