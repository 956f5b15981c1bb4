// fieldmate-cli's arguments and what it prints: the status page's columns, JSON, CSV, monitor lines.
#include <clocale>
#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli_options.h"
#include "cli/device_output.h"
#include "cli/text_table.h"
#include "link/address_text.h"
#include "store/display_values.h"

namespace
{

CliDeviceRow Device(const std::string& mac, const std::string& ip, uint16_t type, const std::string& name,
                    const std::string& ssid)
{
    CliDeviceRow row{};
    SetInfoMacText(row.info, mac);
    row.info.ap_type = type;
    row.info.ap_status = 1;
    ap_config_info& config = row.info.config;
    std::memcpy(config.ip, IpTextToBytes(ip).data(), 4);
    config.ap_name.Assign(name);
    config.ssid.Assign(ssid);
    config.version.Assign("V2.3.6.230303");
    config.work_mode = 2;
    config.channel = 0;
    config.up_time = 3725;
    config.tx_power = 20;
    config.secure_mode = 3;
    config.bridge_transparent = 1;
    config.tdmaEn = 1;
    return row;
}

class CliOutput : public testing::Test
{
protected:
    void SetUp() override { std::setlocale(LC_ALL, "C.UTF-8"); }
};

TEST(CliArguments, CommandsOptionsAndTheirErrors)
{
    struct Case
    {
        std::vector<std::string> arguments;
        int exitCode;
        bool runs;
    };
    const Case cases[] = {
        {{"discover"}, kExitOk, true},
        {{"discover", "--seconds", "3", "--format", "json"}, kExitOk, true},
        {{"monitor", "--seconds", "5", "--search"}, kExitOk, true},
        {{"adapters", "--format", "csv"}, kExitOk, true},
        {{"discover", "--help"}, kExitOk, false},
        {{"--help"}, kExitOk, false},
        {{}, kExitUsage, false},
        {{"scan"}, kExitUsage, false},
        {{"discover", "--seconds"}, kExitUsage, false},
        {{"discover", "--seconds", "-1"}, kExitUsage, false},
        {{"discover", "--seconds", "3x"}, kExitUsage, false},
        {{"discover", "--format", "xml"}, kExitUsage, false},
        {{"discover", "--search"}, kExitUsage, false},
        {{"monitor", "--seconds", "0"}, kExitUsage, false},
        {{"monitor", "--format", "json"}, kExitUsage, false},
        {{"adapters", "--seconds", "2"}, kExitUsage, false},
    };
    for (const Case& test : cases)
    {
        const CliParseResult result = ParseCliArguments(test.arguments);
        const std::string shown = test.arguments.empty() ? "(none)" : test.arguments[0];
        EXPECT_EQ(result.exitCode, test.exitCode) << shown << " " << result.output;
        EXPECT_EQ(result.options.has_value(), test.runs) << shown;
        if (!test.runs)
        {
            EXPECT_NE(result.output.find("usage: fieldmate-cli"), std::string::npos) << shown;
        }
    }
    const CliOptions options = *ParseCliArguments({"discover", "--seconds", "3", "--format", "json"}).options;
    EXPECT_EQ(options.seconds, 3);
    EXPECT_EQ(options.format, OutputFormat::Json);
    EXPECT_EQ(ParseCliArguments({"discover"}).options->seconds, 10);
    EXPECT_EQ(ParseCliArguments({"monitor"}).options->seconds, 0) << "until stopped";
}

TEST_F(CliOutput, JsonCarriesCodesAndTheirDisplayTexts)
{
    const nlohmann::ordered_json device = DeviceJson(Device("02:46:4d:00:00:01", "10.77.1.1", 6, "北区-03", "Farm_5G"));
    EXPECT_EQ(device["mac"], "02:46:4d:00:00:01");
    EXPECT_EQ(device["ip"], "10.77.1.1");
    EXPECT_EQ(device["name"], "北区-03");
    EXPECT_EQ(device["type"], 6);
    EXPECT_EQ(device["status"], 1);
    EXPECT_EQ(device["status_text"], "Online");
    EXPECT_EQ(device["work_mode_text"], "Station");
    EXPECT_EQ(device["channel_text"], "Auto");
    EXPECT_EQ(device["up_time"], 3725);
    EXPECT_EQ(device["up_time_text"], "1:2:5");
    EXPECT_EQ(device["security_text"], "WPA2_PSK");
    EXPECT_EQ(device["tdma_text"], TdmaText(6, 1)) << "model 6 is TDMA-capable";
    EXPECT_NE(device["tdma_text"], "N/A");
    EXPECT_EQ(device["pending"], false);
    EXPECT_EQ(DeviceJson(Device("02:46:4d:00:00:02", "10.77.1.2", 4, "a", "b"))["bridge_transparent_text"], "N/A");
}

TEST_F(CliOutput, APendingDeviceFromAShortReportShowsOnlyWhatItReported)
{
    CliDeviceRow pending = Device("02:46:4d:00:00:09", "10.77.1.9", 1, "", "");
    pending.pending = true;
    pending.info.ap_status = 10;
    const nlohmann::ordered_json device = DeviceJson(pending);
    EXPECT_EQ(device["pending"], true);
    EXPECT_EQ(device["version"], "V2.3.6.230303");
    EXPECT_EQ(device["work_mode_text"], "");
    EXPECT_EQ(device["up_time_text"], "");
    const std::string table = FormatDevices({pending}, OutputFormat::Table);
    EXPECT_NE(table.find("Pending"), std::string::npos) << table;
    EXPECT_EQ(table.find("Station"), std::string::npos) << table;
}

TEST_F(CliOutput, TheTableAlignsColumnsByDisplayWidth)
{
    const std::string table = FormatDevices({Device("02:46:4d:00:00:01", "10.77.1.1", 6, "北区-03", "Farm_5G"),
                                             Device("02:46:4d:00:00:02", "10.77.1.22", 1, "Gate", "x")},
                                            OutputFormat::Table);
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = table.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(table.substr(start, end - start));
    ASSERT_EQ(lines.size(), 3u);
    // The IP column starts at the same display column in every line.
    std::vector<size_t> columns;
    for (const std::string& line : lines)
    {
        const size_t at = line.find(line == lines[0] ? "IP" : "10.77.1.");
        ASSERT_NE(at, std::string::npos) << line;
        columns.push_back(DisplayWidth(line.substr(0, at)));
    }
    EXPECT_EQ(columns[0], columns[1]);
    EXPECT_EQ(columns[1], columns[2]);
    EXPECT_EQ(DisplayWidth("北区-03"), 7u);
}

TEST_F(CliOutput, WithoutALocaleTheTextsAreMeasuredAsUtf8)
{
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(DisplayWidth("北区-03"), 7u);
    EXPECT_EQ(FormatTextTable({"Name", "IP"}, {{"北区-03", "10.77.1.1"}, {"Gate", "10.77.1.22"}}),
              "Name     IP\n北区-03  10.77.1.1\nGate     10.77.1.22\n");
    // Measuring leaves the program's own locale as it was.
    EXPECT_EQ(MB_CUR_MAX, 1u);
}

TEST_F(CliOutput, CsvQuotesWhatNeedsIt)
{
    const std::string csv =
        FormatDevices({Device("02:46:4d:00:00:01", "10.77.1.1", 1, "Roof, \"east\"", "s")}, OutputFormat::Csv);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")), "mac,ip,name,type,model,status,status_text,work_mode,work_mode_text,"
                                               "ssid,channel,channel_text,version,up_time,up_time_text,tx_power,"
                                               "security,security_text,bridge_transparent,bridge_transparent_text,"
                                               "tdma,tdma_text,pending");
    EXPECT_NE(csv.find(",\"Roof, \"\"east\"\"\","), std::string::npos) << csv;
    EXPECT_NE(csv.find(",false\r\n"), std::string::npos) << csv;
}

TEST_F(CliOutput, MonitorLinesAreOneJsonObjectEach)
{
    const CliDeviceRow row = Device("02:46:4d:00:00:01", "10.77.1.1", 1, "n", "s");
    const std::string line = MonitorLine(2.04, {row.info});
    ASSERT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    const nlohmann::json parsed = nlohmann::json::parse(line);
    EXPECT_DOUBLE_EQ(parsed["t"].get<double>(), 2.0);
    EXPECT_EQ(parsed["devices"][0],
              (nlohmann::json{{"mac", "02:46:4d:00:00:01"}, {"ip", "10.77.1.1"}, {"status", 1}, {"up_time", 3725}}));
}

TEST_F(CliOutput, AdaptersJoinTheirAddressesWithTwoDashes)
{
    local_adapter_info adapter{};
    adapter.state = 1;
    const uint8_t mac[6] = {0x02, 0, 0, 0, 0, 0x0a};
    std::memcpy(adapter.mac, mac, 6);
    std::strcpy(adapter.description, "eth0");
    std::strcpy(adapter.name, "eth0");
    adapter.address_count = 2;
    std::strcpy(adapter.addresses[0].ip, "10.77.0.1");
    std::strcpy(adapter.addresses[0].mask, "255.255.0.0");
    std::strcpy(adapter.addresses[1].ip, "10.77.0.2");
    std::strcpy(adapter.addresses[1].mask, "255.255.0.0");
    const std::string table = FormatAdapters({adapter}, OutputFormat::Table);
    EXPECT_NE(table.find("1   eth0         02:00:00:00:00:0a  10.77.0.1--10.77.0.2"), std::string::npos) << table;
    EXPECT_NE(table.find("Adapter count:1"), std::string::npos) << table;
    const nlohmann::json json = nlohmann::json::parse(FormatAdapters({adapter}, OutputFormat::Json));
    EXPECT_EQ(json[0]["ip"], "10.77.0.1--10.77.0.2");
    EXPECT_EQ(json[0]["addresses"][1]["mask"], "255.255.0.0");
}

} // namespace
