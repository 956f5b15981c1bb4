// The 756-byte device configuration record, the blocks of it that requests reuse, and the device row
// record ap_info_stu built around it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "link/packet_head.h"
#include "link/wire_types.h"

// The payload of a configuration report (message type 2). Members named unread_<offset> are bytes the
// tool ignores when the record arrives; a request that reuses a block may give them a meaning.
// IP fields are 4 bytes, first number first; texts are UTF-8 on the wire (ap_name, ssid, bridge_ssid).
struct ap_config_info
{
    uint8_t work_mode;
    uint8_t mode_btn_status;
    le_u16 ap_type;
    le_u32 up_time; // seconds since the device started

    // IP block (offsets 8 to 29).
    uint8_t ip_mode;
    uint8_t ip[4];
    uint8_t ip_mask[4];
    uint8_t ip_gateway[4];
    uint8_t ip_dns1[4];
    uint8_t ip_dns2[4];
    uint8_t unread_29;

    // Name block (30 to 62).
    ap_text_field<32> ap_name;

    ap_text_field<32> version; // never converted from or to the local code page

    // Reboot schedule block (96 to 99).
    uint8_t restart_en;
    uint8_t restart_type;
    le_u16 restart_time;

    // Wireless block (100 to 427).
    uint8_t rf_count;
    uint8_t rf_en;
    uint8_t rf_type;
    uint8_t country_code;
    uint8_t network_mode;
    uint8_t bandwidth;
    uint8_t channel;
    uint8_t expand_channel;
    uint8_t tx_power;
    uint8_t tx_power_min;
    uint8_t tx_power_max;
    uint8_t unread_111[11];
    uint8_t ssid_rf_type;
    uint8_t ssid_id;
    uint8_t ssid_hide;
    uint8_t ssid_mac[6];
    ap_text_field<32> ssid;
    uint8_t secure_mode;
    uint8_t wpapsk_auth_type;
    ap_text_field<64> wpapsk_key_value;
    le_u32 wpapsk_key_time;
    uint8_t wep_auth_type;
    uint8_t wep_key_index;
    uint8_t wep_key_type0;
    ap_text_field<26> wep_key_value0;
    uint8_t wep_key_type1;
    ap_text_field<26> wep_key_value1;
    uint8_t wep_key_type2;
    ap_text_field<26> wep_key_value2;
    uint8_t wep_key_type3;
    ap_text_field<26> wep_key_value3;
    uint8_t unread_349;
    uint8_t wpa_radius_ip[4];
    le_u16 wpa_radius_port;
    uint8_t wpa_auth_type;
    ap_text_field<64> wpa_key;
    le_u32 wpa_key_time;
    uint8_t ssid_count;
    uint8_t unread_427;

    uint8_t bridge_work_mode;
    uint8_t bridge_mac[6];
    uint8_t bridge_channel;
    ap_text_field<32> bridge_ssid;
    uint8_t unread_469[263];

    // VLAN block (732 to 755).
    uint8_t vlan_en;
    uint8_t unread_733;
    le_u16 vlan_id;
    le_u16 vlan_id_wlan;
    le_u16 vlan_id_lan;
    uint8_t unread_740[2];
    uint8_t bridge_transparent;
    uint8_t tdmaEn;
    le_u16 vlan_pvid;
    le_u16 vlan_id_lan3;
    le_u16 vlan_id_lan4;
    uint8_t unread_750[4];
    uint8_t wl_dfs;
    uint8_t unread_755;
};

// The device row record that the engine, the store and the pages exchange.
struct ap_info_stu
{
    char mac[18];     // MAC text, 17 characters and a terminating zero
    le_u16 ap_type;   // model code
    le_i32 ap_status; // status code 0 to 9, or 10 for a pending device in the status page's list
    ap_config_info config;
};

constexpr size_t kApConfigInfoSize = 756;

// A byte range of ap_config_info that a request carries as its payload.
struct ap_config_block
{
    size_t offset;
    size_t size;
};

constexpr ap_config_block kConfigIpBlock{8, 22};          // ip_mode to unread_29
constexpr ap_config_block kConfigNameBlock{30, 33};       // ap_name and its length
constexpr ap_config_block kConfigRebootBlock{96, 4};      // restart_en, restart_type, restart_time
constexpr ap_config_block kConfigWirelessBlock{100, 328}; // rf_count to unread_427
constexpr ap_config_block kConfigVlanBlock{732, 24};      // vlan_en to the end

// The block's bytes inside the record.
std::span<const uint8_t> ConfigBlockBytes(const ap_config_info& config, ap_config_block block);

// Whether the block's bytes differ between two records: a tab sends only the blocks it changed.
bool ConfigBlockDiffers(const ap_config_info& left, const ap_config_info& right, ap_config_block block);

// The configuration report of a datagram: the claimed payload length's bytes (never more than the
// record holds), zero beyond. Texts are left as the device sent them.
ap_config_info ReadConfigInfo(const ap_packet_info& packet);

// The MAC text of a row record (up to its terminator, at most 17 characters).
std::string InfoMacText(const ap_info_stu& info);

// Stores a MAC text in a row record, cut to 17 characters and zero-terminated.
void SetInfoMacText(ap_info_stu& info, std::string_view macText);

// clang-format off
static_assert(sizeof(ap_config_info) == kApConfigInfoSize);
static_assert(offsetof(ap_config_info, work_mode) == 0);
static_assert(offsetof(ap_config_info, mode_btn_status) == 1);
static_assert(offsetof(ap_config_info, ap_type) == 2);
static_assert(offsetof(ap_config_info, up_time) == 4);
static_assert(offsetof(ap_config_info, ip_mode) == 8);
static_assert(offsetof(ap_config_info, ip) == 9);
static_assert(offsetof(ap_config_info, ip_mask) == 13);
static_assert(offsetof(ap_config_info, ip_gateway) == 17);
static_assert(offsetof(ap_config_info, ip_dns1) == 21);
static_assert(offsetof(ap_config_info, ip_dns2) == 25);
static_assert(offsetof(ap_config_info, unread_29) == 29);
static_assert(offsetof(ap_config_info, ap_name) == 30);
static_assert(offsetof(ap_config_info, version) == 63);
static_assert(offsetof(ap_config_info, restart_en) == 96);
static_assert(offsetof(ap_config_info, restart_type) == 97);
static_assert(offsetof(ap_config_info, restart_time) == 98);
static_assert(offsetof(ap_config_info, rf_count) == 100);
static_assert(offsetof(ap_config_info, rf_en) == 101);
static_assert(offsetof(ap_config_info, rf_type) == 102);
static_assert(offsetof(ap_config_info, country_code) == 103);
static_assert(offsetof(ap_config_info, network_mode) == 104);
static_assert(offsetof(ap_config_info, bandwidth) == 105);
static_assert(offsetof(ap_config_info, channel) == 106);
static_assert(offsetof(ap_config_info, expand_channel) == 107);
static_assert(offsetof(ap_config_info, tx_power) == 108);
static_assert(offsetof(ap_config_info, tx_power_min) == 109);
static_assert(offsetof(ap_config_info, tx_power_max) == 110);
static_assert(offsetof(ap_config_info, unread_111) == 111);
static_assert(offsetof(ap_config_info, ssid_rf_type) == 122);
static_assert(offsetof(ap_config_info, ssid_id) == 123);
static_assert(offsetof(ap_config_info, ssid_hide) == 124);
static_assert(offsetof(ap_config_info, ssid_mac) == 125);
static_assert(offsetof(ap_config_info, ssid) == 131);
static_assert(offsetof(ap_config_info, secure_mode) == 164);
static_assert(offsetof(ap_config_info, wpapsk_auth_type) == 165);
static_assert(offsetof(ap_config_info, wpapsk_key_value) == 166);
static_assert(offsetof(ap_config_info, wpapsk_key_time) == 231);
static_assert(offsetof(ap_config_info, wep_auth_type) == 235);
static_assert(offsetof(ap_config_info, wep_key_index) == 236);
static_assert(offsetof(ap_config_info, wep_key_type0) == 237);
static_assert(offsetof(ap_config_info, wep_key_value0) == 238);
static_assert(offsetof(ap_config_info, wep_key_type1) == 265);
static_assert(offsetof(ap_config_info, wep_key_value1) == 266);
static_assert(offsetof(ap_config_info, wep_key_type2) == 293);
static_assert(offsetof(ap_config_info, wep_key_value2) == 294);
static_assert(offsetof(ap_config_info, wep_key_type3) == 321);
static_assert(offsetof(ap_config_info, wep_key_value3) == 322);
static_assert(offsetof(ap_config_info, unread_349) == 349);
static_assert(offsetof(ap_config_info, wpa_radius_ip) == 350);
static_assert(offsetof(ap_config_info, wpa_radius_port) == 354);
static_assert(offsetof(ap_config_info, wpa_auth_type) == 356);
static_assert(offsetof(ap_config_info, wpa_key) == 357);
static_assert(offsetof(ap_config_info, wpa_key_time) == 422);
static_assert(offsetof(ap_config_info, ssid_count) == 426);
static_assert(offsetof(ap_config_info, unread_427) == 427);
static_assert(offsetof(ap_config_info, bridge_work_mode) == 428);
static_assert(offsetof(ap_config_info, bridge_mac) == 429);
static_assert(offsetof(ap_config_info, bridge_channel) == 435);
static_assert(offsetof(ap_config_info, bridge_ssid) == 436);
static_assert(offsetof(ap_config_info, unread_469) == 469);
static_assert(offsetof(ap_config_info, vlan_en) == 732);
static_assert(offsetof(ap_config_info, unread_733) == 733);
static_assert(offsetof(ap_config_info, vlan_id) == 734);
static_assert(offsetof(ap_config_info, vlan_id_wlan) == 736);
static_assert(offsetof(ap_config_info, vlan_id_lan) == 738);
static_assert(offsetof(ap_config_info, unread_740) == 740);
static_assert(offsetof(ap_config_info, bridge_transparent) == 742);
static_assert(offsetof(ap_config_info, tdmaEn) == 743);
static_assert(offsetof(ap_config_info, vlan_pvid) == 744);
static_assert(offsetof(ap_config_info, vlan_id_lan3) == 746);
static_assert(offsetof(ap_config_info, vlan_id_lan4) == 748);
static_assert(offsetof(ap_config_info, unread_750) == 750);
static_assert(offsetof(ap_config_info, wl_dfs) == 754);
static_assert(offsetof(ap_config_info, unread_755) == 755);

static_assert(kConfigIpBlock.offset == offsetof(ap_config_info, ip_mode) &&
              kConfigIpBlock.offset + kConfigIpBlock.size == offsetof(ap_config_info, ap_name));
static_assert(kConfigNameBlock.offset == offsetof(ap_config_info, ap_name) &&
              kConfigNameBlock.offset + kConfigNameBlock.size == offsetof(ap_config_info, version));
static_assert(kConfigRebootBlock.offset == offsetof(ap_config_info, restart_en) &&
              kConfigRebootBlock.offset + kConfigRebootBlock.size == offsetof(ap_config_info, rf_count));
static_assert(kConfigWirelessBlock.offset == offsetof(ap_config_info, rf_count) &&
              kConfigWirelessBlock.offset + kConfigWirelessBlock.size == offsetof(ap_config_info, bridge_work_mode));
static_assert(kConfigVlanBlock.offset == offsetof(ap_config_info, vlan_en) &&
              kConfigVlanBlock.offset + kConfigVlanBlock.size == sizeof(ap_config_info));

static_assert(sizeof(ap_info_stu) == 780 && alignof(ap_info_stu) == 1);
static_assert(offsetof(ap_info_stu, mac) == 0);
static_assert(offsetof(ap_info_stu, ap_type) == 18);
static_assert(offsetof(ap_info_stu, ap_status) == 20);
static_assert(offsetof(ap_info_stu, config) == 24);
// clang-format on
