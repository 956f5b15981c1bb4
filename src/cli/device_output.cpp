#include "cli/device_output.h"

#include <cstdio>

#include "cli/text_table.h"
#include "link/address_text.h"
#include "store/display_values.h"
#include "support/language.h"
#include "support/text_convert.h"

namespace
{

const char* kJsonKeys[] = {"mac",
                           "ip",
                           "name",
                           "type",
                           "model",
                           "status",
                           "status_text",
                           "work_mode",
                           "work_mode_text",
                           "ssid",
                           "channel",
                           "channel_text",
                           "version",
                           "up_time",
                           "up_time_text",
                           "tx_power",
                           "security",
                           "security_text",
                           "bridge_transparent",
                           "bridge_transparent_text",
                           "tdma",
                           "tdma_text",
                           "pending"};

std::string Ip(const uint8_t (&bytes)[4])
{
    return IpBytesToText(std::span<const uint8_t, 4>(bytes, 4));
}

// A pending device made from a short discover report knows nothing beyond its version: the status
// page leaves those cells empty, and so does this.
bool HasDetails(const CliDeviceRow& row)
{
    return !row.pending || row.info.config.ssid.len > 0;
}

std::string StatusOf(const CliDeviceRow& row)
{
    return row.pending ? LookupText("Pending") : StatusText(row.info.ap_status);
}

std::string JsonCell(const nlohmann::ordered_json& value)
{
    if (value.is_string())
        return value.get<std::string>();
    return value.dump();
}

} // namespace

nlohmann::ordered_json DeviceJson(const CliDeviceRow& row)
{
    const ap_info_stu& info = row.info;
    const ap_config_info& config = info.config;
    const int type = info.ap_type;
    const bool details = HasDetails(row);
    nlohmann::ordered_json device;
    device["mac"] = InfoMacText(info);
    device["ip"] = Ip(config.ip);
    device["name"] = details ? LocalToUtf8(config.ap_name.View()) : "";
    device["type"] = type;
    device["model"] = LocalToUtf8(ModelLabel(type));
    device["status"] = int32_t{info.ap_status};
    device["status_text"] = LocalToUtf8(StatusOf(row));
    device["work_mode"] = config.work_mode;
    device["work_mode_text"] = details ? LocalToUtf8(WorkModeText(config.work_mode)) : "";
    device["ssid"] = details ? LocalToUtf8(config.ssid.View()) : "";
    device["channel"] = config.channel;
    device["channel_text"] = details ? LocalToUtf8(ChannelText(config.channel)) : "";
    device["version"] = LocalToUtf8(config.version.View());
    device["up_time"] = uint32_t{config.up_time};
    device["up_time_text"] = details ? LocalToUtf8(UpTimeText(config.up_time)) : "";
    device["tx_power"] = config.tx_power;
    device["security"] = config.secure_mode;
    device["security_text"] = row.pending ? "" : LocalToUtf8(SecurityText(config.secure_mode));
    device["bridge_transparent"] = config.bridge_transparent;
    device["bridge_transparent_text"] =
        details ? LocalToUtf8(TransparentBridgeText(type, config.work_mode, config.bridge_transparent)) : "";
    device["tdma"] = config.tdmaEn;
    device["tdma_text"] = details ? LocalToUtf8(TdmaText(type, config.tdmaEn)) : "";
    device["pending"] = row.pending;
    return device;
}

std::string FormatDevices(const std::vector<CliDeviceRow>& rows, OutputFormat format)
{
    if (format == OutputFormat::Json)
    {
        nlohmann::ordered_json devices = nlohmann::ordered_json::array();
        for (const CliDeviceRow& row : rows)
            devices.push_back(DeviceJson(row));
        return devices.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    }
    if (format == OutputFormat::Csv)
    {
        const TextRow header(std::begin(kJsonKeys), std::end(kJsonKeys));
        std::vector<TextRow> lines;
        for (const CliDeviceRow& row : rows)
        {
            const nlohmann::ordered_json device = DeviceJson(row);
            TextRow line;
            for (const char* key : kJsonKeys)
                line.push_back(JsonCell(device[key]));
            lines.push_back(std::move(line));
        }
        return FormatCsv(header, lines);
    }
    // The status page's columns, in the locale's codeset, with the status in the last one.
    TextRow header;
    for (const char* key : {"Serial", "Location", "Type", "IP", "MAC", "OperationMode", "SSID", "Channel", "Version",
                            "Transparent bridge", "Slotra", "Time", "Status"})
        header.push_back(LookupText(key));
    std::vector<TextRow> lines;
    int serial = 0;
    for (const CliDeviceRow& row : rows)
    {
        const ap_info_stu& info = row.info;
        const ap_config_info& config = info.config;
        const bool details = HasDetails(row);
        auto detail = [details](std::string text) { return details ? text : std::string(); };
        lines.push_back({std::to_string(++serial), detail(config.ap_name.Str()), ModelLabel(info.ap_type),
                         Ip(config.ip), InfoMacText(info), detail(WorkModeText(config.work_mode)),
                         detail(config.ssid.Str()), detail(ChannelText(config.channel)), config.version.Str(),
                         detail(TransparentBridgeText(info.ap_type, config.work_mode, config.bridge_transparent)),
                         detail(TdmaText(info.ap_type, config.tdmaEn)), detail(UpTimeText(config.up_time)),
                         StatusOf(row)});
    }
    return FormatTextTable(header, lines);
}

std::string MonitorLine(double seconds, const std::vector<ap_info_stu>& devices)
{
    nlohmann::ordered_json line;
    char time[32];
    std::snprintf(time, sizeof(time), "%.1f", seconds);
    line["t"] = nlohmann::ordered_json::parse(time);
    line["devices"] = nlohmann::ordered_json::array();
    for (const ap_info_stu& info : devices)
        line["devices"].push_back({{"mac", InfoMacText(info)},
                                   {"ip", Ip(info.config.ip)},
                                   {"status", int32_t{info.ap_status}},
                                   {"up_time", uint32_t{info.config.up_time}}});
    return line.dump() + "\n";
}

std::string FormatAdapters(const std::vector<local_adapter_info>& adapters, OutputFormat format)
{
    std::vector<TextRow> rows;
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (size_t i = 0; i < adapters.size(); ++i)
    {
        const local_adapter_info& adapter = adapters[i];
        char mac[18];
        std::snprintf(mac, sizeof(mac), "%02x:%02x:%02x:%02x:%02x:%02x", adapter.mac[0], adapter.mac[1], adapter.mac[2],
                      adapter.mac[3], adapter.mac[4], adapter.mac[5]);
        std::string joined;
        nlohmann::ordered_json ips = nlohmann::ordered_json::array();
        const int count = std::min<int>(adapter.address_count, LOCAL_ADAPTER_MAX_ADDRESSES);
        for (int a = 0; a < count; ++a)
        {
            const std::string ip(adapter.addresses[a].ip, strnlen(adapter.addresses[a].ip, 16));
            joined += (a > 0 ? "--" : "") + ip;
            ips.push_back(
                {{"ip", ip}, {"mask", std::string(adapter.addresses[a].mask, strnlen(adapter.addresses[a].mask, 16))}});
        }
        const std::string description(adapter.description, strnlen(adapter.description, sizeof(adapter.description)));
        const std::string name(adapter.name, strnlen(adapter.name, sizeof(adapter.name)));
        rows.push_back({std::to_string(i + 1), description, mac, joined});
        list.push_back({{"id", i + 1},
                        {"name", LocalToUtf8(name)},
                        {"description", LocalToUtf8(description)},
                        {"mac", mac},
                        {"ip", joined},
                        {"addresses", ips}});
    }
    if (format == OutputFormat::Json)
        return list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    const TextRow header = {LookupText("ID"), LookupText("Description"), LookupText("MAC"), LookupText("IP")};
    if (format == OutputFormat::Csv)
        return FormatCsv(header, rows);
    char count[64];
    std::snprintf(count, sizeof(count), LookupText("Adapter count:%d").c_str(), static_cast<int>(adapters.size()));
    return FormatTextTable(header, rows) + count + "\n";
}
