#include "store/store_records.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "link/address_text.h"
#include "store/display_values.h"
#include "store/sqlite_statement.h"
#include "support/text_convert.h"

namespace
{

// The first length-byte bytes of a field, at most its width, ending early at a zero byte, as UTF-8.
template <size_t N>
std::string FieldText(const ap_text_field<N>& field)
{
    std::string_view text = field.View();
    text = text.substr(0, text.find('\0'));
    return LocalToUtf8(text);
}

// A record text field from a column: locale text, cut to the field's width.
template <size_t N>
void AssignField(ap_text_field<N>& field, const std::string& utf8)
{
    field.Assign(Utf8ToLocal(utf8));
}

void AssignIp(uint8_t (&ip)[4], const std::string& text)
{
    const Ipv4Bytes bytes = IpTextToBytes(TrimText(text));
    std::copy(bytes.begin(), bytes.end(), ip);
}

double IpNumber(const uint8_t (&ip)[4])
{
    return static_cast<double>((uint32_t{ip[0]} << 24) | (uint32_t{ip[1]} << 16) | (uint32_t{ip[2]} << 8) | ip[3]);
}

} // namespace

std::string TrimText(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return std::string(text);
}

device_row_values DeviceRecordToRow(const ap_info_stu& record)
{
    const ap_config_info& c = record.config;
    const int apType = record.ap_type;
    device_row_values v;
    v[AP_ID] = int64_t{0};
    v[AP_MAC] = LocalToUtf8(InfoMacText(record));
    v[AP_AP_TYPE] = int64_t{record.ap_type};
    v[AP_AP_TYPE_STR] = LocalToUtf8(ModelLabel(apType));
    // Every stored configuration report means the device is there, whatever the record says.
    v[AP_AP_STATUS] = int64_t{kStatusOnline};
    v[AP_AP_STATUS_STR] = LocalToUtf8(StatusText(kStatusOnline));
    v[AP_WORK_MODE] = int64_t{c.work_mode};
    v[AP_WORK_MODE_STR] = LocalToUtf8(WorkModeText(c.work_mode));
    v[AP_MODE_BTN_STATUS] = int64_t{c.mode_btn_status};
    v[AP_UP_TIME] = int64_t{c.up_time};
    v[AP_UP_TIME_STR] = LocalToUtf8(UpTimeText(c.up_time));
    v[AP_IP_MODE] = int64_t{c.ip_mode};
    v[AP_IP_NUM] = IpNumber(c.ip);
    v[AP_IP] = IpBytesToText(c.ip);
    v[AP_IP_MASK] = IpBytesToText(c.ip_mask);
    v[AP_IP_GATEWAY] = IpBytesToText(c.ip_gateway);
    v[AP_IP_DNS1] = IpBytesToText(c.ip_dns1);
    v[AP_IP_DNS2] = IpBytesToText(c.ip_dns2);
    v[AP_AP_NAME] = FieldText(c.ap_name);
    v[AP_VERSION] = FieldText(c.version);
    v[AP_RESTART_EN] = int64_t{c.restart_en};
    v[AP_RESTART_TYPE] = int64_t{c.restart_type};
    v[AP_RESTART_TIME] = int64_t{c.restart_time};
    v[AP_RF_COUNT] = int64_t{c.rf_count};
    v[AP_RF_EN] = int64_t{c.rf_en};
    v[AP_RF_TYPE] = int64_t{c.rf_type};
    v[AP_COUNTRY_CODE] = int64_t{c.country_code};
    v[AP_NETWORK_MODE] = int64_t{c.network_mode};
    v[AP_BANDWIDTH] = int64_t{c.bandwidth};
    v[AP_CHANNEL] = int64_t{c.channel};
    v[AP_EXPAND_CHANNEL] = int64_t{c.expand_channel};
    v[AP_TX_POWER] = int64_t{c.tx_power};
    v[AP_TX_POWER_MIN] = int64_t{c.tx_power_min};
    v[AP_TX_POWER_MAX] = int64_t{c.tx_power_max};
    v[AP_SSID_COUNT] = int64_t{c.ssid_count};
    v[AP_SSID_RF_TYPE] = int64_t{c.ssid_rf_type};
    v[AP_SSID_ID] = int64_t{c.ssid_id};
    v[AP_SSID_HIDE] = int64_t{c.ssid_hide};
    v[AP_SSID_MAC] = MacBytesToText(c.ssid_mac);
    v[AP_SSID] = FieldText(c.ssid);
    v[AP_SECURE_MODE] = int64_t{c.secure_mode};
    v[AP_SECURE_MODE_STR] = LocalToUtf8(SecurityText(c.secure_mode));
    v[AP_WPAPSK_AUTH_TYPE] = int64_t{c.wpapsk_auth_type};
    v[AP_WPAPSK_KEY_VALUE] = FieldText(c.wpapsk_key_value);
    v[AP_WPAPSK_KEY_TIME] = int64_t{c.wpapsk_key_time};
    v[AP_WEP_AUTH_TYPE] = int64_t{c.wep_auth_type};
    v[AP_WEP_KEY_INDEX] = int64_t{c.wep_key_index};
    v[AP_WEP_KEY_VALUE0] = FieldText(c.wep_key_value0);
    v[AP_WEP_KEY_TYPE0] = int64_t{c.wep_key_type0};
    v[AP_WEP_KEY_VALUE1] = FieldText(c.wep_key_value1);
    v[AP_WEP_KEY_TYPE1] = int64_t{c.wep_key_type1};
    v[AP_WEP_KEY_VALUE2] = FieldText(c.wep_key_value2);
    v[AP_WEP_KEY_TYPE2] = int64_t{c.wep_key_type2};
    v[AP_WEP_KEY_VALUE3] = FieldText(c.wep_key_value3);
    v[AP_WEP_KEY_TYPE3] = int64_t{c.wep_key_type3};
    v[AP_WPA_AUTH_TYPE] = int64_t{c.wpa_auth_type};
    v[AP_WPA_RADIUS_IP] = IpBytesToText(c.wpa_radius_ip);
    v[AP_WPA_RADIUS_PORT] = int64_t{c.wpa_radius_port};
    v[AP_WPA_KEY] = FieldText(c.wpa_key);
    v[AP_WPA_KEY_TIME] = int64_t{c.wpa_key_time};
    v[AP_BRIDGE_WORK_MODE] = int64_t{c.bridge_work_mode};
    v[AP_BRIDGE_MAC] = MacBytesToText(c.bridge_mac);
    v[AP_BRIDGE_CHANNEL] = int64_t{c.bridge_channel};
    v[AP_BRIDGE_SSID] = FieldText(c.bridge_ssid);
    v[AP_VLAN_EN] = int64_t{c.vlan_en};
    v[AP_VLAN_ID] = int64_t{c.vlan_id};
    v[AP_VLAN_ID_WLAN] = int64_t{c.vlan_id_wlan};
    v[AP_VLAN_ID_LAN] = int64_t{c.vlan_id_lan};
    v[AP_BRIDGE_TRANSPARENT] = int64_t{c.bridge_transparent};
    v[AP_BRIDGE_TRANSPARENT_STR] = LocalToUtf8(TransparentBridgeText(apType, c.work_mode, c.bridge_transparent));
    v[AP_TDMAEN] = int64_t{c.tdmaEn};
    v[AP_TDMAEN_STR] = LocalToUtf8(TdmaText(apType, c.tdmaEn));
    v[AP_VLAN_PVID] = int64_t{c.vlan_pvid};
    v[AP_VLAN_ID_LAN3] = int64_t{c.vlan_id_lan3};
    v[AP_VLAN_ID_LAN4] = int64_t{c.vlan_id_lan4};
    v[AP_WL_DFS] = int64_t{c.wl_dfs};
    return v;
}

survey_row_values SurveyEntryToRow(const ap_survey_info& report, const config_otherwl_basic& entry)
{
    survey_row_values v;
    v[OTHER_ID] = int64_t{0};
    v[OTHER_PACKET_COUNT] = int64_t{report.packet_count};
    v[OTHER_PACKET_ID] = int64_t{report.packet_id};
    v[OTHER_ICOUNT] = int64_t{report.icount};
    v[OTHER_MAC] = MacBytesToText(entry.mac);
    v[OTHER_SSID] = FieldText(entry.ssid);
    v[OTHER_SIGNAL] = int64_t{entry.signal};
    v[OTHER_CHANNEL] = int64_t{entry.channel};
    v[OTHER_SECURE_MODE] = int64_t{entry.secure_mode};
    v[OTHER_EXCHANNEL] = int64_t{entry.exchannel};
    v[OTHER_BANDWIDTH] = int64_t{entry.bandwidth};
    return v;
}

template <size_t N>
bool BindRowValues(CSqliteStatement& statement, const std::array<column_value, N>& values)
{
    bool bound = true;
    for (size_t column = 1; column < N; ++column)
    {
        const int index = static_cast<int>(column);
        const column_value& value = values[column];
        if (const auto* number = std::get_if<int64_t>(&value))
            bound = statement.BindInt(index, *number) && bound;
        else if (const auto* real = std::get_if<double>(&value))
            bound = statement.BindDouble(index, *real) && bound;
        else
            bound = statement.BindText(index, std::get<std::string>(value)) && bound;
    }
    return bound;
}

template bool BindRowValues(CSqliteStatement&, const device_row_values&);
template bool BindRowValues(CSqliteStatement&, const survey_row_values&);

ap_info_stu DeviceRecordFromRow(const CSqliteStatement& row)
{
    ap_info_stu record;
    std::memset(&record, 0, sizeof(record));
    ap_config_info& c = record.config;
    const auto number = [&row](ApInfoColumn column) { return row.ColumnInt(column); };
    const auto text = [&row](ApInfoColumn column) { return TrimText(row.ColumnText(column)); };
    // Secrets and network names are kept exactly: a blank is part of them, and a trimmed copy
    // sent back with other changes would change them on the device.
    const auto exact = [&row](ApInfoColumn column) { return row.ColumnText(column); };

    SetInfoMacText(record, Utf8ToLocal(text(AP_MAC)));
    record.ap_type = static_cast<uint16_t>(number(AP_AP_TYPE));
    record.ap_status = static_cast<int32_t>(number(AP_AP_STATUS));
    c.work_mode = static_cast<uint8_t>(number(AP_WORK_MODE));
    c.mode_btn_status = static_cast<uint8_t>(number(AP_MODE_BTN_STATUS));
    c.ap_type = record.ap_type;
    c.up_time = static_cast<uint32_t>(number(AP_UP_TIME));
    c.ip_mode = static_cast<uint8_t>(number(AP_IP_MODE));
    AssignIp(c.ip, text(AP_IP));
    AssignIp(c.ip_mask, text(AP_IP_MASK));
    AssignIp(c.ip_gateway, text(AP_IP_GATEWAY));
    AssignIp(c.ip_dns1, text(AP_IP_DNS1));
    AssignIp(c.ip_dns2, text(AP_IP_DNS2));
    AssignField(c.ap_name, text(AP_AP_NAME));
    AssignField(c.version, text(AP_VERSION));
    c.restart_en = static_cast<uint8_t>(number(AP_RESTART_EN));
    c.restart_type = static_cast<uint8_t>(number(AP_RESTART_TYPE));
    c.restart_time = static_cast<uint16_t>(number(AP_RESTART_TIME));
    c.rf_count = static_cast<uint8_t>(number(AP_RF_COUNT));
    c.rf_en = static_cast<uint8_t>(number(AP_RF_EN));
    c.rf_type = static_cast<uint8_t>(number(AP_RF_TYPE));
    c.country_code = static_cast<uint8_t>(number(AP_COUNTRY_CODE));
    c.network_mode = static_cast<uint8_t>(number(AP_NETWORK_MODE));
    c.bandwidth = static_cast<uint8_t>(number(AP_BANDWIDTH));
    c.channel = static_cast<uint8_t>(number(AP_CHANNEL));
    c.expand_channel = static_cast<uint8_t>(number(AP_EXPAND_CHANNEL));
    c.tx_power = static_cast<uint8_t>(number(AP_TX_POWER));
    c.tx_power_min = static_cast<uint8_t>(number(AP_TX_POWER_MIN));
    c.tx_power_max = static_cast<uint8_t>(number(AP_TX_POWER_MAX));
    c.ssid_count = static_cast<uint8_t>(number(AP_SSID_COUNT));
    c.ssid_rf_type = static_cast<uint8_t>(number(AP_SSID_RF_TYPE));
    c.ssid_id = static_cast<uint8_t>(number(AP_SSID_ID));
    c.ssid_hide = static_cast<uint8_t>(number(AP_SSID_HIDE));
    const MacBytes ssidMac = MacTextToBytes(text(AP_SSID_MAC));
    std::copy(ssidMac.begin(), ssidMac.end(), c.ssid_mac);
    AssignField(c.ssid, exact(AP_SSID));
    c.secure_mode = static_cast<uint8_t>(number(AP_SECURE_MODE));
    c.wpapsk_auth_type = static_cast<uint8_t>(number(AP_WPAPSK_AUTH_TYPE));
    AssignField(c.wpapsk_key_value, exact(AP_WPAPSK_KEY_VALUE));
    c.wpapsk_key_time = static_cast<uint32_t>(number(AP_WPAPSK_KEY_TIME));
    c.wep_auth_type = static_cast<uint8_t>(number(AP_WEP_AUTH_TYPE));
    c.wep_key_index = static_cast<uint8_t>(number(AP_WEP_KEY_INDEX));
    AssignField(c.wep_key_value0, exact(AP_WEP_KEY_VALUE0));
    c.wep_key_type0 = static_cast<uint8_t>(number(AP_WEP_KEY_TYPE0));
    AssignField(c.wep_key_value1, exact(AP_WEP_KEY_VALUE1));
    c.wep_key_type1 = static_cast<uint8_t>(number(AP_WEP_KEY_TYPE1));
    AssignField(c.wep_key_value2, exact(AP_WEP_KEY_VALUE2));
    c.wep_key_type2 = static_cast<uint8_t>(number(AP_WEP_KEY_TYPE2));
    AssignField(c.wep_key_value3, exact(AP_WEP_KEY_VALUE3));
    c.wep_key_type3 = static_cast<uint8_t>(number(AP_WEP_KEY_TYPE3));
    c.wpa_auth_type = static_cast<uint8_t>(number(AP_WPA_AUTH_TYPE));
    AssignIp(c.wpa_radius_ip, text(AP_WPA_RADIUS_IP));
    c.wpa_radius_port = static_cast<uint16_t>(number(AP_WPA_RADIUS_PORT));
    AssignField(c.wpa_key, exact(AP_WPA_KEY));
    c.wpa_key_time = static_cast<uint32_t>(number(AP_WPA_KEY_TIME));
    c.vlan_en = static_cast<uint8_t>(number(AP_VLAN_EN));
    c.vlan_id = static_cast<uint16_t>(number(AP_VLAN_ID));
    c.vlan_id_wlan = static_cast<uint16_t>(number(AP_VLAN_ID_WLAN));
    c.vlan_id_lan = static_cast<uint16_t>(number(AP_VLAN_ID_LAN));
    c.bridge_transparent = static_cast<uint8_t>(number(AP_BRIDGE_TRANSPARENT));
    c.tdmaEn = static_cast<uint8_t>(number(AP_TDMAEN));
    c.vlan_pvid = static_cast<uint16_t>(number(AP_VLAN_PVID));
    c.vlan_id_lan3 = static_cast<uint16_t>(number(AP_VLAN_ID_LAN3));
    c.vlan_id_lan4 = static_cast<uint16_t>(number(AP_VLAN_ID_LAN4));
    c.wl_dfs = static_cast<uint8_t>(number(AP_WL_DFS));
    return record;
}

config_otherwl_basic SurveyEntryFromRow(const CSqliteStatement& row)
{
    config_otherwl_basic entry;
    std::memset(&entry, 0, sizeof(entry));
    const MacBytes mac = MacTextToBytes(TrimText(row.ColumnText(OTHER_MAC)));
    std::copy(mac.begin(), mac.end(), entry.mac);
    AssignField(entry.ssid, row.ColumnText(OTHER_SSID));
    entry.signal = static_cast<int8_t>(row.ColumnInt(OTHER_SIGNAL));
    entry.channel = static_cast<uint8_t>(row.ColumnInt(OTHER_CHANNEL));
    entry.secure_mode = static_cast<uint8_t>(row.ColumnInt(OTHER_SECURE_MODE));
    entry.exchannel = static_cast<uint8_t>(row.ColumnInt(OTHER_EXCHANNEL));
    entry.bandwidth = static_cast<uint8_t>(row.ColumnInt(OTHER_BANDWIDTH));
    return entry;
}
