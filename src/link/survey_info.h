// The site survey report (message type 6): the access points a device can see, up to 32 per datagram.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/packet_head.h"
#include "link/wire_types.h"

constexpr size_t kSurveyMaxEntries = 32;

// One surveyed access point.
struct config_otherwl_basic
{
    uint8_t mac[6]; // the access point's
    int8_t signal;  // dBm
    uint8_t channel;
    uint8_t secure_mode;
    ap_text_field<32> ssid; // UTF-8 on the wire
    uint8_t exchannel;
    uint8_t bandwidth;
};

// One datagram of a survey. A survey may span several; the one whose packet_id is packet_count - 1
// completes it.
struct ap_survey_info
{
    uint8_t packet_count; // datagrams in this survey
    uint8_t packet_id;    // index of this datagram, from 0
    uint8_t icount;       // entries in this datagram
    config_otherwl_basic entries[kSurveyMaxEntries];
};

// The survey datagram, with icount cut to the entries that really arrived: at most 32, and only those
// that lie wholly inside the received bytes. Entries past icount are zero.
ap_survey_info ReadSurveyInfo(const ap_packet_info& packet);

static_assert(sizeof(config_otherwl_basic) == 44);
static_assert(offsetof(config_otherwl_basic, mac) == 0);
static_assert(offsetof(config_otherwl_basic, signal) == 6);
static_assert(offsetof(config_otherwl_basic, channel) == 7);
static_assert(offsetof(config_otherwl_basic, secure_mode) == 8);
static_assert(offsetof(config_otherwl_basic, ssid) == 9);
static_assert(offsetof(config_otherwl_basic, exchannel) == 42);
static_assert(offsetof(config_otherwl_basic, bandwidth) == 43);

static_assert(offsetof(ap_survey_info, packet_count) == 0);
static_assert(offsetof(ap_survey_info, packet_id) == 1);
static_assert(offsetof(ap_survey_info, icount) == 2);
static_assert(offsetof(ap_survey_info, entries) == 3);
static_assert(sizeof(ap_survey_info) == 3 + 44 * kSurveyMaxEntries && sizeof(ap_survey_info) <= kApPayloadMaxSize);
