#include "store/display_values.h"

#include <array>
#include <cstdio>

#include "support/language.h"

namespace
{

constexpr std::array<const char*, 10> kStatusKeys = {"Outline",         "Online",      "Bridge success", "Bridge fail",
                                                     "Restarting",      "Reseting",    "Upgrade wait",   "Upgrading",
                                                     "Upgrade success", "Upgrade fail"};

constexpr std::array<const char*, 8> kWorkModeKeys = {nullptr,    "AP",   "Station", "Universal Repeater",
                                                      "Repeater", "P2MP", "WISP",    "Router"};

constexpr std::array<const char*, 7> kSecurityKeys = {"Disable",     "WEP", "WPA_PSK", "WPA2_PSK",
                                                      "WPAWPA2_PSK", "WPA", "WPA2"};

template <size_t N>
std::string TranslatedOrEmpty(const std::array<const char*, N>& keys, int code)
{
    if (code < 0 || static_cast<size_t>(code) >= N || keys[static_cast<size_t>(code)] == nullptr)
        return {};
    return LookupText(keys[static_cast<size_t>(code)]);
}

std::string OnOffText(int flag)
{
    return LookupText(flag != 0 ? "On2" : "Off2");
}

} // namespace

std::string StatusText(int status)
{
    return TranslatedOrEmpty(kStatusKeys, status);
}

std::string WorkModeText(int workMode)
{
    return TranslatedOrEmpty(kWorkModeKeys, workMode);
}

std::string SecurityText(int secureMode)
{
    return TranslatedOrEmpty(kSecurityKeys, secureMode);
}

std::string ChannelText(int channel)
{
    if (channel == 0)
        return LookupText("Auto");
    return std::to_string(channel);
}

std::string ModelLabel(int modelCode)
{
    for (const ModelEntry& model : ModelTable())
        if (model.code == modelCode)
            return std::string(model.label);
    return std::string(ModelTable().front().label);
}

int ModelCode(std::string_view label)
{
    for (const ModelEntry& model : ModelTable())
        if (model.label == label)
            return model.code;
    return 1;
}

std::string TransparentBridgeText(int modelCode, int workMode, int flag)
{
    if (IsTransparentBridgeException(modelCode) || (workMode >= 4 && workMode <= 7))
        return "N/A";
    return OnOffText(flag);
}

std::string TdmaText(int modelCode, int flag)
{
    if (!IsTdmaCapable(modelCode))
        return "N/A";
    return OnOffText(flag);
}

std::string UpTimeText(uint32_t seconds)
{
    const uint32_t days = seconds / 86400;
    const uint32_t hours = (seconds / 3600) % 24;
    const uint32_t minutes = (seconds / 60) % 60;
    const uint32_t rest = seconds % 60;
    char text[32];
    if (days != 0)
        snprintf(text, sizeof(text), "%u %u:%u:%u", days, hours, minutes, rest);
    else
        snprintf(text, sizeof(text), "%u:%u:%u", hours, minutes, rest);
    return text;
}
