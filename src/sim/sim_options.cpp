#include "sim/sim_options.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

#include "store/model_table.h"

namespace
{

bool ParseNumber(const std::string& text, double minimum, double maximum, double* value)
{
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (text.empty() || end == nullptr || *end != '\0' || parsed < minimum || parsed > maximum)
        return false;
    *value = parsed;
    return true;
}

bool ParseInteger(const std::string& text, long minimum, long maximum, long* value)
{
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end == nullptr || *end != '\0' || parsed < minimum || parsed > maximum)
        return false;
    *value = parsed;
    return true;
}

bool IsDottedQuad(const std::string& text)
{
    int parts = 0;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, '.'))
    {
        long number = 0;
        if (!ParseInteger(part, 0, 255, &number))
            return false;
        ++parts;
    }
    return parts == 4 && text.back() != '.';
}

bool IsMacText(const std::string& text)
{
    if (text.size() != 17)
        return false;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const bool colon = i % 3 == 2;
        if (colon != (text[i] == ':') || (!colon && !std::isxdigit(static_cast<unsigned char>(text[i]))))
            return false;
    }
    return true;
}

bool IsModelCode(long code)
{
    for (const ModelEntry& entry : ModelTable())
        if (entry.code == code)
            return true;
    return false;
}

bool ParseCodeList(const std::string& text, long maximum, std::vector<long>* codes)
{
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, ','))
    {
        long code = 0;
        if (!ParseInteger(part, 0, maximum, &code))
            return false;
        codes->push_back(code);
    }
    return !codes->empty();
}

} // namespace

const char* SimUsage()
{
    return "usage: fieldmate-sim [options]\n"
           "Emulates devices on one network interface. Run it as root inside a test namespace only\n"
           "(scripts/testlan.sh): it adds one address per device to the interface.\n"
           "\n"
           "  --count N                  devices (default 1, at most 60000)\n"
           "  --interface NAME           interface to use (default eth0)\n"
           "  --first-ip A.B.C.D         address of the first device (default 10.77.1.1); the others follow\n"
           "  --prefix N                 prefix length of the devices' addresses (default 16)\n"
           "  --gateway A.B.C.D          gateway the devices report (default 10.77.0.254)\n"
           "  --base-mac MAC             MAC of the first device (default 02:46:4d:00:00:01); the others follow\n"
           "  --models CODE,...          model codes, cycled over the devices (default: every model in turn)\n"
           "  --heartbeat-interval S     seconds between heartbeats (default 3)\n"
           "  --survey-aps N             access points a site survey finds (default 12, at most 255)\n"
           "  --drop P                   probability 0..1 of losing each datagram in and out (default 0)\n"
           "  --never-answer TYPE,...    message types the devices ignore\n"
           "  --reboot-silence S         seconds a device stays silent after reboot or restore (default 20)\n"
           "  --flash-seconds S          seconds from upgrade start to the success report (default 5)\n"
           "  --reply-jitter MS          spread of the discover reports to one broadcast (default 300)\n"
           "  --change-report S          seconds after a settings change until the device reports its\n"
           "                             configuration to the tool that asked (default 1; -1: never)\n"
           "  --state FILE               JSON state of every device, rewritten on change\n"
           "  --log FILE                 one JSON line per datagram\n"
           "  --control PATH             Unix socket for commands (see below)\n"
           "  --seed N                   seed of the generated names and settings (default 1)\n"
           "  --keep-addresses           use the interface's addresses as they are, add none\n"
           "\n"
           "Commands on the control socket, one line each, answered \"ok\" or \"error: ...\":\n"
           "  mute MAC|all     the device goes silent (as if unplugged)\n"
           "  unmute MAC|all   it answers again\n"
           "  dump             write the state file now\n"
           "Send one with: fieldmate-sim control PATH COMMAND...\n";
}

std::optional<CSimOptions> ParseSimOptions(const std::vector<std::string>& arguments, std::string* error, bool* help)
{
    CSimOptions options;
    *help = false;
    for (size_t i = 0; i < arguments.size(); ++i)
    {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h")
        {
            *help = true;
            return std::nullopt;
        }
        if (name == "--keep-addresses")
        {
            options.manageAddresses = false;
            continue;
        }
        if (i + 1 >= arguments.size())
        {
            *error = "missing value after " + name;
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        long integer = 0;
        double number = 0;
        bool good = true;
        if (name == "--count")
        {
            good = ParseInteger(value, 1, 60000, &integer);
            options.count = static_cast<int>(integer);
        }
        else if (name == "--interface")
        {
            good = !value.empty();
            options.interfaceName = value;
        }
        else if (name == "--first-ip")
        {
            good = IsDottedQuad(value);
            options.firstIp = IpTextToBytes(value);
        }
        else if (name == "--prefix")
        {
            good = ParseInteger(value, 8, 30, &integer);
            options.prefixLength = static_cast<int>(integer);
        }
        else if (name == "--gateway")
        {
            good = IsDottedQuad(value);
            options.gateway = IpTextToBytes(value);
        }
        else if (name == "--base-mac")
        {
            good = IsMacText(value);
            options.baseMac = MacTextToBytes(value);
        }
        else if (name == "--models")
        {
            std::vector<long> codes;
            good = ParseCodeList(value, 65535, &codes);
            for (long code : codes)
            {
                good = good && IsModelCode(code);
                options.models.push_back(static_cast<uint16_t>(code));
            }
        }
        else if (name == "--heartbeat-interval")
        {
            good = ParseNumber(value, 0.05, 3600, &number);
            options.heartbeatSeconds = number;
        }
        else if (name == "--survey-aps")
        {
            good = ParseInteger(value, 0, 255, &integer);
            options.surveyAps = static_cast<int>(integer);
        }
        else if (name == "--drop")
        {
            good = ParseNumber(value, 0, 1, &number);
            options.dropProbability = number;
        }
        else if (name == "--never-answer")
        {
            std::vector<long> codes;
            good = ParseCodeList(value, 65535, &codes);
            options.neverAnswered.insert(codes.begin(), codes.end());
        }
        else if (name == "--reboot-silence")
        {
            good = ParseNumber(value, 0, 3600, &number);
            options.rebootSilenceSeconds = number;
        }
        else if (name == "--flash-seconds")
        {
            good = ParseNumber(value, 0, 3600, &number);
            options.flashSeconds = number;
        }
        else if (name == "--reply-jitter")
        {
            good = ParseNumber(value, 0, 60000, &number);
            options.replyJitterMs = number;
        }
        else if (name == "--change-report")
        {
            good = ParseNumber(value, -1, 3600, &number);
            options.changeReportSeconds = number;
        }
        else if (name == "--state")
            options.stateFile = value;
        else if (name == "--log")
            options.datagramLog = value;
        else if (name == "--control")
            options.controlSocket = value;
        else if (name == "--seed")
        {
            good = ParseInteger(value, 0, 0xffffffffL, &integer);
            options.seed = static_cast<uint32_t>(integer);
        }
        else
        {
            *error = "unknown option " + name;
            return std::nullopt;
        }
        if (!good)
        {
            *error = "bad value for " + name + ": " + value;
            return std::nullopt;
        }
    }
    return options;
}
