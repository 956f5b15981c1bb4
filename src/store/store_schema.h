// The two tables of data.mdb: the statements that create them, their SQLite form, and their
// columns in table order.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

constexpr const char* kDatabaseFileName = "data.mdb";

// Columns of ap_info in table order; the value is the column's index in "select *" order.
enum ApInfoColumn
{
    AP_ID,
    AP_MAC,
    AP_AP_TYPE,
    AP_AP_TYPE_STR,
    AP_AP_STATUS,
    AP_AP_STATUS_STR,
    AP_WORK_MODE,
    AP_WORK_MODE_STR,
    AP_MODE_BTN_STATUS,
    AP_UP_TIME,
    AP_UP_TIME_STR,
    AP_IP_MODE,
    AP_IP_NUM,
    AP_IP,
    AP_IP_MASK,
    AP_IP_GATEWAY,
    AP_IP_DNS1,
    AP_IP_DNS2,
    AP_AP_NAME,
    AP_VERSION,
    AP_RESTART_EN,
    AP_RESTART_TYPE,
    AP_RESTART_TIME,
    AP_RF_COUNT,
    AP_RF_EN,
    AP_RF_TYPE,
    AP_COUNTRY_CODE,
    AP_NETWORK_MODE,
    AP_BANDWIDTH,
    AP_CHANNEL,
    AP_EXPAND_CHANNEL,
    AP_TX_POWER,
    AP_TX_POWER_MIN,
    AP_TX_POWER_MAX,
    AP_SSID_COUNT,
    AP_SSID_RF_TYPE,
    AP_SSID_ID,
    AP_SSID_HIDE,
    AP_SSID_MAC,
    AP_SSID,
    AP_SECURE_MODE,
    AP_SECURE_MODE_STR,
    AP_WPAPSK_AUTH_TYPE,
    AP_WPAPSK_KEY_VALUE,
    AP_WPAPSK_KEY_TIME,
    AP_WEP_AUTH_TYPE,
    AP_WEP_KEY_INDEX,
    AP_WEP_KEY_VALUE0,
    AP_WEP_KEY_TYPE0,
    AP_WEP_KEY_VALUE1,
    AP_WEP_KEY_TYPE1,
    AP_WEP_KEY_VALUE2,
    AP_WEP_KEY_TYPE2,
    AP_WEP_KEY_VALUE3,
    AP_WEP_KEY_TYPE3,
    AP_WPA_AUTH_TYPE,
    AP_WPA_RADIUS_IP,
    AP_WPA_RADIUS_PORT,
    AP_WPA_KEY,
    AP_WPA_KEY_TIME,
    AP_BRIDGE_WORK_MODE,
    AP_BRIDGE_MAC,
    AP_BRIDGE_CHANNEL,
    AP_BRIDGE_SSID,
    AP_VLAN_EN,
    AP_VLAN_ID,
    AP_VLAN_ID_WLAN,
    AP_VLAN_ID_LAN,
    AP_BRIDGE_TRANSPARENT,
    AP_BRIDGE_TRANSPARENT_STR,
    AP_TDMAEN,
    AP_TDMAEN_STR,
    AP_VLAN_PVID,
    AP_VLAN_ID_LAN3,
    AP_VLAN_ID_LAN4,
    AP_WL_DFS,
    AP_COLUMN_COUNT
};

// Columns of ap_other_info in table order.
enum ApOtherInfoColumn
{
    OTHER_ID,
    OTHER_PACKET_COUNT,
    OTHER_PACKET_ID,
    OTHER_ICOUNT,
    OTHER_MAC,
    OTHER_SSID,
    OTHER_SIGNAL,
    OTHER_CHANNEL,
    OTHER_SECURE_MODE,
    OTHER_EXCHANNEL,
    OTHER_BANDWIDTH,
    OTHER_COLUMN_COUNT
};

extern const std::array<const char*, AP_COLUMN_COUNT> kApInfoColumnNames;
extern const std::array<const char*, OTHER_COLUMN_COUNT> kApOtherInfoColumnNames;

// The statements that build the tables, in the order they run, in the form that states the
// tables (several columns per ALTER, the original column types).
const std::array<const char*, 8>& SchemaStatements();

// One statement above as SQLite statements: SQLite adds one column per ALTER, so an ALTER of n
// columns becomes n statements; Counter becomes the row id, long INTEGER, double REAL, char(n)
// stays a text column. Empty for a text it does not understand.
std::vector<std::string> TranslateSchemaStatement(std::string_view statement);

// Lookups by MAC stay flat as the tables grow.
const std::array<const char*, 2>& IndexStatements();
