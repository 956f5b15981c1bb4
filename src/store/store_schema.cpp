#include "store/store_schema.h"

#include <cctype>

namespace
{

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

std::vector<std::string_view> SplitAtCommas(std::string_view text)
{
    std::vector<std::string_view> parts;
    for (size_t comma = text.find(','); comma != std::string_view::npos; comma = text.find(','))
    {
        parts.push_back(Trim(text.substr(0, comma)));
        text.remove_prefix(comma + 1);
    }
    parts.push_back(Trim(text));
    return parts;
}

// "name type" to the SQLite column definition; empty when the type is unknown.
std::string ColumnDefinition(std::string_view column)
{
    const size_t blank = column.find(' ');
    if (blank == std::string_view::npos)
        return {};
    const std::string name(column.substr(0, blank));
    const std::string_view type = Trim(column.substr(blank + 1));
    if (type == "Counter")
        return name + " INTEGER PRIMARY KEY";
    if (type == "long")
        return name + " INTEGER";
    if (type == "double")
        return name + " REAL";
    if (StartsWithNoCase(type, "char(") && type.back() == ')')
        return name + " " + std::string(type);
    return {};
}

} // namespace

const std::array<const char*, AP_COLUMN_COUNT> kApInfoColumnNames = {
    "ID",
    "mac",
    "ap_type",
    "ap_type_str",
    "ap_status",
    "ap_status_str",
    "work_mode",
    "work_mode_str",
    "mode_btn_status",
    "up_time",
    "up_time_str",
    "ip_mode",
    "ip_num",
    "ip",
    "ip_mask",
    "ip_gateway",
    "ip_dns1",
    "ip_dns2",
    "ap_name",
    "version",
    "restart_en",
    "restart_type",
    "restart_time",
    "rf_count",
    "rf_en",
    "rf_type",
    "country_code",
    "network_mode",
    "bandwidth",
    "channel",
    "expand_channel",
    "tx_power",
    "tx_power_min",
    "tx_power_max",
    "ssid_count",
    "ssid_rf_type",
    "ssid_id",
    "ssid_hide",
    "ssid_mac",
    "ssid",
    "secure_mode",
    "secure_mode_str",
    "wpapsk_auth_type",
    "wpapsk_key_value",
    "wpapsk_key_time",
    "wep_auth_type",
    "wep_key_index",
    "wep_key_value0",
    "wep_key_type0",
    "wep_key_value1",
    "wep_key_type1",
    "wep_key_value2",
    "wep_key_type2",
    "wep_key_value3",
    "wep_key_type3",
    "wpa_auth_type",
    "wpa_radius_ip",
    "wpa_radius_port",
    "wpa_key",
    "wpa_key_time",
    "bridge_work_mode",
    "bridge_mac",
    "bridge_channel",
    "bridge_ssid",
    "vlan_en",
    "vlan_id",
    "vlan_id_wlan",
    "vlan_id_lan",
    "bridge_transparent",
    "bridge_transparent_str",
    "tdmaEn",
    "tdmaEn_str",
    "vlan_pvid",
    "vlan_id_lan3",
    "vlan_id_lan4",
    "wl_dfs",
};

const std::array<const char*, OTHER_COLUMN_COUNT> kApOtherInfoColumnNames = {
    "ID",     "packet_count", "packet_id",   "icount",    "mac",       "ssid",
    "signal", "channel",      "secure_mode", "exchannel", "bandwidth",
};

const std::array<const char*, 8>& SchemaStatements()
{
    static const std::array<const char*, 8> statements = {
        "CREATE TABLE ap_info(ID Counter,mac char(18),ap_type long,ap_type_str char(33),ap_status long,ap_status_str "
        "char(33),work_mode long,work_mode_str char(33),mode_btn_status long,up_time long,up_time_str char(33),ip_mode "
        "long,ip_num double,ip char(16),ip_mask char(16),ip_gateway char(16),ip_dns1 char(16),ip_dns2 char(16),ap_name "
        "char(33),version char(33))",
        "ALTER TABLE ap_info ADD restart_en long,restart_type long,restart_time long",
        "ALTER TABLE ap_info ADD rf_count long,rf_en long,rf_type long,country_code long,network_mode long,bandwidth "
        "long,channel long,expand_channel long,tx_power long,tx_power_min long,tx_power_max long",
        "ALTER TABLE ap_info ADD ssid_count long,ssid_rf_type long,ssid_id long,ssid_hide long,ssid_mac char(18),ssid "
        "char(33),secure_mode long,secure_mode_str char(33),wpapsk_auth_type long,wpapsk_key_value "
        "char(65),wpapsk_key_time long,wep_auth_type long,wep_key_index long,wep_key_value0 char(65),wep_key_type0 "
        "long,wep_key_value1 char(65),wep_key_type1 long,wep_key_value2 char(65),wep_key_type2 long,wep_key_value3 "
        "char(65),wep_key_type3 long,wpa_auth_type long,wpa_radius_ip char(16),wpa_radius_port long,wpa_key "
        "char(65),wpa_key_time long",
        "ALTER TABLE ap_info ADD bridge_work_mode long, bridge_mac char(18), bridge_channel long, bridge_ssid char(33)",
        "ALTER TABLE ap_info ADD vlan_en long,vlan_id long,vlan_id_wlan long,vlan_id_lan long",
        "ALTER TABLE ap_info ADD bridge_transparent long,bridge_transparent_str char(33),tdmaEn long,tdmaEn_str "
        "char(33),vlan_pvid long,vlan_id_lan3 long,vlan_id_lan4 long, wl_dfs long",
        "CREATE TABLE ap_other_info(ID Counter,packet_count long,packet_id long,icount long,mac char(18),ssid "
        "char(33),signal long,channel long,secure_mode long,exchannel long,bandwidth long)",
    };
    return statements;
}

std::vector<std::string> TranslateSchemaStatement(std::string_view statement)
{
    statement = Trim(statement);
    std::vector<std::string> result;
    if (StartsWithNoCase(statement, "CREATE TABLE "))
    {
        const size_t open = statement.find('(');
        if (open == std::string_view::npos || statement.back() != ')')
            return {};
        const std::string_view table = Trim(statement.substr(13, open - 13));
        std::string sql = "CREATE TABLE " + std::string(table) + "(";
        // The body holds char(n) types, whose parentheses hold no comma.
        const std::vector<std::string_view> columns =
            SplitAtCommas(statement.substr(open + 1, statement.size() - open - 2));
        for (size_t i = 0; i < columns.size(); ++i)
        {
            const std::string definition = ColumnDefinition(columns[i]);
            if (definition.empty())
                return {};
            sql += (i == 0 ? "" : ",") + definition;
        }
        result.push_back(sql + ")");
        return result;
    }
    if (StartsWithNoCase(statement, "ALTER TABLE "))
    {
        const std::string_view rest = statement.substr(12);
        const size_t add = rest.find(" ADD ");
        if (add == std::string_view::npos)
            return {};
        const std::string table(Trim(rest.substr(0, add)));
        for (std::string_view column : SplitAtCommas(rest.substr(add + 5)))
        {
            const std::string definition = ColumnDefinition(column);
            if (definition.empty())
                return {};
            result.push_back("ALTER TABLE " + table + " ADD COLUMN " + definition);
        }
        return result;
    }
    return {};
}

const std::array<const char*, 2>& IndexStatements()
{
    static const std::array<const char*, 2> statements = {
        "CREATE INDEX ap_info_mac ON ap_info(mac)",
        "CREATE INDEX ap_other_info_mac ON ap_other_info(mac)",
    };
    return statements;
}
