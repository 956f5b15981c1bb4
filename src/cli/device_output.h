// What fieldmate-cli prints about devices and adapters: the status page's columns as a table, or
// the same devices as JSON or CSV with codes next to their display texts.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "adapter/local_adapter_api.h"
#include "cli/cli_options.h"
#include "link/config_info.h"

struct CliDeviceRow
{
    ap_info_stu info;
    bool pending = false; // answered the search, configuration not yet accepted
};

// One device as a JSON object: mac, ip, name, type, model, status, status_text, work_mode,
// work_mode_text, ssid, channel, channel_text, version, up_time, up_time_text, tx_power, security,
// security_text, bridge_transparent, bridge_transparent_text, tdma, tdma_text, pending.
// Texts are converted from the locale's codeset to UTF-8.
nlohmann::ordered_json DeviceJson(const CliDeviceRow& row);

// The devices in the format: a table with the status page's columns and a status column, a JSON
// array of DeviceJson objects, or CSV with the JSON keys as its header.
std::string FormatDevices(const std::vector<CliDeviceRow>& rows, OutputFormat format);

// One line of monitor: {"t": seconds since the start, "devices": [{mac, ip, status, up_time}, ...]}.
std::string MonitorLine(double seconds, const std::vector<ap_info_stu>& devices);

// The adapters as the system tool page lists them: number, description, MAC, addresses joined by "--".
std::string FormatAdapters(const std::vector<local_adapter_info>& adapters, OutputFormat format);
