#include "cli/cli_options.h"

#include <cstdlib>

namespace
{

const char* kUsage = "usage: fieldmate-cli COMMAND [options]\n"
                     "\n"
                     "Commands:\n"
                     "  discover   search for devices and print them\n"
                     "  monitor    print the stored devices once a second, as JSON lines\n"
                     "  adapters   print the local network adapters the tool uses\n"
                     "\n"
                     "fieldmate-cli COMMAND --help tells more. Exit codes: 0 done, 1 the device store cannot\n"
                     "be used, 2 bad arguments, 3 another copy of Fieldmate runs, 4 the device link could not\n"
                     "start (a port in use, for example).\n";

const char* kDiscoverUsage =
    "usage: fieldmate-cli discover [--seconds N] [--format table|json|csv]\n"
    "\n"
    "Searches for devices as the status page does (a discover broadcast at once and every 3 s),\n"
    "then after N seconds (default 10) prints every device found, the devices that answered but\n"
    "have not reported their configuration yet last, marked as pending.\n";

const char* kMonitorUsage = "usage: fieldmate-cli monitor [--seconds N] [--search]\n"
                            "\n"
                            "Prints one JSON line per second with the time since the start and the stored\n"
                            "devices (mac, ip, status, up_time), for N seconds or until stopped (Ctrl+C).\n"
                            "--search runs the status page's search at the start: discover broadcasts\n"
                            "at 0, 3, 6, ... 27 s.\n";

const char* kAdaptersUsage = "usage: fieldmate-cli adapters [--format table|json|csv]\n"
                             "\n"
                             "Prints the local network adapters the device link uses: number, description,\n"
                             "MAC and IPv4 addresses.\n";

CliParseResult Fail(const std::string& error, const char* usage)
{
    return {std::nullopt, kExitUsage, "fieldmate-cli: " + error + "\n\n" + usage};
}

bool ParseSeconds(const std::string& text, int minimum, int* seconds)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < minimum || value > 86400)
        return false;
    *seconds = static_cast<int>(value);
    return true;
}

} // namespace

CliParseResult ParseCliArguments(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return Fail("no command given", kUsage);
    const std::string& command = arguments[0];
    if (command == "--help" || command == "-h" || command == "help")
        return {std::nullopt, kExitOk, kUsage};

    CliOptions options;
    const char* usage = kUsage;
    if (command == "discover")
        usage = kDiscoverUsage;
    else if (command == "monitor")
    {
        options.command = CliCommand::Monitor;
        options.seconds = 0;
        usage = kMonitorUsage;
    }
    else if (command == "adapters")
    {
        options.command = CliCommand::Adapters;
        usage = kAdaptersUsage;
    }
    else
        return Fail("unknown command " + command, kUsage);

    for (size_t i = 1; i < arguments.size(); ++i)
    {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h")
            return {std::nullopt, kExitOk, usage};
        const bool takesSeconds = options.command != CliCommand::Adapters;
        const bool takesFormat = options.command != CliCommand::Monitor;
        if (name == "--search" && options.command == CliCommand::Monitor)
        {
            options.search = true;
            continue;
        }
        if ((name == "--seconds" && takesSeconds) || (name == "--format" && takesFormat))
        {
            if (i + 1 >= arguments.size())
                return Fail("missing value after " + name, usage);
            const std::string& value = arguments[++i];
            if (name == "--seconds")
            {
                if (!ParseSeconds(value, options.command == CliCommand::Monitor ? 1 : 0, &options.seconds))
                    return Fail("bad number of seconds: " + value, usage);
            }
            else if (value == "table")
                options.format = OutputFormat::Table;
            else if (value == "json")
                options.format = OutputFormat::Json;
            else if (value == "csv")
                options.format = OutputFormat::Csv;
            else
                return Fail("unknown format " + value + " (table, json or csv)", usage);
            continue;
        }
        return Fail("unknown option " + name, usage);
    }
    return {options, kExitOk, ""};
}
