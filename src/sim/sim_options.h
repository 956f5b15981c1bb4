// What one run of the device simulator emulates: how many devices, where, and how they misbehave.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "link/address_text.h"

struct CSimOptions
{
    int count = 1;
    std::string interfaceName = "eth0";
    Ipv4Bytes firstIp{10, 77, 1, 1};
    int prefixLength = 16;
    Ipv4Bytes gateway{10, 77, 0, 254};
    MacBytes baseMac{0x02, 0x46, 0x4d, 0x00, 0x00, 0x01};
    std::vector<uint16_t> models; // cycled over the devices; empty: every model of the table in turn
    double heartbeatSeconds = 3.0;
    int surveyAps = 12;         // access points each device sees in a site survey
    double dropProbability = 0; // of every datagram received and every datagram sent
    std::set<uint16_t> neverAnswered;
    double rebootSilenceSeconds = 20.0;
    double flashSeconds = 5.0;  // from the upgrade start to the success report
    double replyJitterMs = 300; // spread of the discover reports that answer one broadcast
    // After a settings change a device reports its new configuration to the tool that asked, this
    // many seconds later; negative: never.
    double changeReportSeconds = 1.0;
    std::string stateFile;     // JSON of every device, rewritten when something changed
    std::string datagramLog;   // one JSON line per datagram in or out
    std::string controlSocket; // Unix socket for commands such as "mute MAC"
    uint32_t seed = 1;
    bool manageAddresses = true; // add and remove the devices' addresses on the interface
};

// Parses the command line (argv[1] on); on failure *error says why. "--help" gives nothing and sets
// *help.
std::optional<CSimOptions> ParseSimOptions(const std::vector<std::string>& arguments, std::string* error, bool* help);

const char* SimUsage();
