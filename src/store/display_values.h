// The texts the tool shows and stores for the codes devices report. Translated texts go through
// LookupText at the moment of the call, so a list drawn again after a language change shows the new one.
//
// The address conversions of the display tables (IpTextToBytes, IpTextToNumber, MacTextToBytes and
// the byte-to-text direction) live in link/address_text.h, included here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "link/address_text.h"
#include "store/model_table.h"

// Status codes (ap_status), the status of a device row.
constexpr int kStatusOffline = 0;
constexpr int kStatusOnline = 1;
constexpr int kStatusBridgeSuccess = 2;
constexpr int kStatusBridgeFail = 3;
constexpr int kStatusRestarting = 4;
constexpr int kStatusResetting = 5;
constexpr int kStatusUpgradeWait = 6;
constexpr int kStatusUpgrading = 7;
constexpr int kStatusUpgradeSuccess = 8;
constexpr int kStatusUpgradeFail = 9;
constexpr int kStatusPending = 10; // the status page's pending rows only; has no text

// "Outline", "Online", ... "Upgrade fail" for 0 to 9, translated; empty for any other code.
std::string StatusText(int status);

// "AP", "Station", "Universal Repeater", "Repeater", "P2MP", "WISP", "Router" for 1 to 7, translated;
// empty for any other code.
std::string WorkModeText(int workMode);

// "Disable", "WEP", "WPA_PSK", "WPA2_PSK", "WPAWPA2_PSK", "WPA", "WPA2" for 0 to 6, translated;
// empty for any other code.
std::string SecurityText(int secureMode);

// Translated "Auto" for 0, else the number.
std::string ChannelText(int channel);

// The model's label; a code outside the table gives the label of code 1.
std::string ModelLabel(int modelCode);

// The code whose label equals the text exactly (case-sensitive); any other text gives 1.
int ModelCode(std::string_view label);

// "N/A" for the transparent-bridge exception models and for work modes 4 to 7 (Repeater, P2MP, WISP,
// Router); otherwise the translation of "On2" (flag non-zero) or "Off2".
std::string TransparentBridgeText(int modelCode, int workMode, int flag);

// The translation of "On2" or "Off2" for TDMA-capable models, else "N/A".
std::string TdmaText(int modelCode, int flag);

// "h:m:s" below one day, "d h:m:s" from one day on; no zero padding (3725 gives "1:2:5").
std::string UpTimeText(uint32_t seconds);
