// Plausible devices for the simulator: names (some Chinese), models, versions, radios, security,
// bridges between stations and access points, and the access points a site survey finds.
#pragma once

#include <vector>

#include "link/survey_info.h"
#include "sim/sim_device.h"
#include "sim/sim_options.h"

// The options' devices, numbered from 0, with addresses and MACs counted up from the first ones.
// Deterministic for a given seed.
std::vector<CSimDevice> MakeSimDevices(const CSimOptions& options);

// The access points device `index` sees: the other simulated access points first, then made-up
// ones, options.surveyAps in all.
std::vector<config_otherwl_basic> MakeSurveyEntries(const std::vector<CSimDevice>& devices, size_t index,
                                                    const CSimOptions& options);

// The version a firmware file brings: the first run of digits and dots in its name ("fw-3.2.0.bin"
// gives "V3.2.0"), otherwise the current version with its last number raised.
std::string VersionFromFirmwareName(const std::string& fileName, const std::string& currentVersion);
