#include "sim/device_profiles.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <random>
#include <string_view>

#include "store/model_table.h"

namespace
{

constexpr std::array<std::string_view, 12> kChinesePlaces = {"北区", "南门", "仓库", "塔楼", "一号楼", "果园",
                                                             "码头", "东侧", "西山", "水厂", "学校",   "村委"};
constexpr std::array<std::string_view, 12> kEnglishPlaces = {"Tower", "Barn", "Gate", "Silo",  "Roof",  "Dock",
                                                             "Mast",  "Farm", "Yard", "Depot", "Ridge", "Pump"};
constexpr std::array<std::string_view, 8> kLowerPlaces = {"tower", "barn", "gate", "silo",
                                                          "roof",  "dock", "mast", "yard"};
constexpr std::array<std::string_view, 10> kSsids = {"Orchard-Link", "北区无线",   "WISP-Backhaul", "Farm_5G",
                                                     "Depot-Net",    "村委会WiFi", "Ridge-PTP",     "Harbor-AP",
                                                     "School_Guest", "水厂监控"};
constexpr std::array<std::string_view, 6> kKeys = {"fieldpass123", "roof-2024!",  "K8s7a9d2q1",
                                                   "orchard88",    "backhaul#01", "gate4567"};
// Country slots: CN, US, GB, DE, AU.
constexpr std::array<uint8_t, 5> kCountries = {0, 1, 2, 6, 44};

bool RestrictedName(uint16_t model)
{
    return model == 4 || model == 17 || model == 261 || model == 276;
}

bool FiveGigahertz(uint16_t model)
{
    if (model >= 257)
        return model != 259 && model != 262;
    return model == 10 || model == 11 || model == 13 || model == 14 || model == 15 || model == 18;
}

template <size_t N>
std::string_view Pick(const std::array<std::string_view, N>& list, std::mt19937& random)
{
    return list[random() % N];
}

std::string DeviceName(uint16_t model, size_t index, std::mt19937& random)
{
    char text[64];
    const unsigned number = static_cast<unsigned>(index % 99 + 1);
    if (RestrictedName(model))
    {
        // These models take only Chinese characters, lower-case letters and digits.
        if (random() % 2 == 0)
            std::snprintf(text, sizeof(text), "%s%02u", std::string(Pick(kChinesePlaces, random)).c_str(), number);
        else
            std::snprintf(text, sizeof(text), "%s%02u", std::string(Pick(kLowerPlaces, random)).c_str(), number);
        return text;
    }
    switch (random() % 3)
    {
    case 0:
        std::snprintf(text, sizeof(text), "%s-%02u", std::string(Pick(kChinesePlaces, random)).c_str(), number);
        break;
    case 1:
        std::snprintf(text, sizeof(text), "%s %s %02u", std::string(Pick(kEnglishPlaces, random)).c_str(),
                      random() % 2 ? "North" : "South", number);
        break;
    default:
        std::snprintf(text, sizeof(text), "%s-AP%u", std::string(Pick(kEnglishPlaces, random)).c_str(), number);
        break;
    }
    return text;
}

std::string ModelVersion(uint16_t model)
{
    char text[40];
    const unsigned family = model >= 257 ? 5u : 2u;
    std::snprintf(text, sizeof(text), "V%u.%u.%u.%06u", family, (model % 7) + 1, (model * 3) % 20,
                  230101u + (model % 12) * 100u + model % 28);
    return text;
}

void SetIp(uint8_t (&field)[4], const Ipv4Bytes& ip)
{
    std::memcpy(field, ip.data(), 4);
}

Ipv4Bytes AddToIp(const Ipv4Bytes& first, uint32_t offset)
{
    uint32_t value = (uint32_t{first[0]} << 24 | uint32_t{first[1]} << 16 | uint32_t{first[2]} << 8 | first[3]);
    value += offset;
    return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value)};
}

MacBytes AddToMac(const MacBytes& first, uint64_t offset)
{
    uint64_t value = 0;
    for (uint8_t byte : first)
        value = value << 8 | byte;
    value += offset;
    MacBytes mac;
    for (int i = 5; i >= 0; --i, value >>= 8)
        mac[i] = static_cast<uint8_t>(value);
    return mac;
}

uint8_t PickChannel(bool fiveGigahertz, std::mt19937& random)
{
    static constexpr std::array<uint8_t, 5> kLow = {1, 6, 11, 0, 3};
    static constexpr std::array<uint8_t, 6> kHigh = {36, 44, 149, 157, 0, 161};
    return fiveGigahertz ? kHigh[random() % kHigh.size()] : kLow[random() % kLow.size()];
}

ap_config_info MakeConfig(const CSimOptions& options, uint16_t model, const MacBytes& mac, const Ipv4Bytes& ip,
                          size_t index, std::mt19937& random)
{
    ap_config_info config{};
    const bool high = FiveGigahertz(model);
    // Mostly access points and stations, now and then a repeater, P2MP, WISP or router.
    static constexpr std::array<uint8_t, 10> kModes = {1, 1, 1, 2, 2, 2, 1, 2, 5, 6};
    config.work_mode = index % 23 == 22 ? 7 : kModes[random() % kModes.size()];
    config.mode_btn_status = config.work_mode == 2 ? 1 : 0;
    config.ap_type = model;
    config.ip_mode = 1;
    SetIp(config.ip, ip);
    const Ipv4Bytes mask = MaskFromPrefix(options.prefixLength);
    SetIp(config.ip_mask, mask);
    SetIp(config.ip_gateway, options.gateway);
    SetIp(config.ip_dns1, options.gateway);
    config.ap_name.Assign(DeviceName(model, index, random));
    config.version.Assign(ModelVersion(model));
    config.restart_en = random() % 4 == 0 ? 1 : 0;
    config.restart_type = 0x80;
    config.restart_time = 3 * 60 + 30;
    config.rf_count = 1;
    config.rf_en = 1;
    config.rf_type = high ? 1 : 0;
    config.country_code = kCountries[random() % kCountries.size()];
    config.network_mode = high ? 2 : 4;
    config.bandwidth = high ? static_cast<uint8_t>(random() % 2 ? 3 : 1) : static_cast<uint8_t>(random() % 2);
    config.channel = PickChannel(high, random);
    config.expand_channel = config.bandwidth == 1 && !high ? 1 : 0;
    config.tx_power_min = 1;
    config.tx_power_max = high ? 23 : 27;
    config.tx_power = static_cast<uint8_t>(14 + random() % 10);
    config.ssid_rf_type = config.rf_type;
    config.ssid_id = 0;
    config.ssid_hide = random() % 10 == 0 ? 1 : 0;
    std::memcpy(config.ssid_mac, mac.data(), 6);
    config.ssid.Assign(Pick(kSsids, random));
    static constexpr std::array<uint8_t, 8> kSecurity = {3, 3, 3, 4, 2, 0, 1, 3};
    config.secure_mode = kSecurity[random() % kSecurity.size()];
    config.wpapsk_auth_type = config.secure_mode >= 2 && config.secure_mode <= 4 ? 0 : 0;
    config.wpapsk_key_value.Assign(Pick(kKeys, random));
    config.wpapsk_key_time = 3600;
    config.wep_auth_type = 0;
    config.wep_key_index = 0;
    config.wep_key_type0 = 0;
    config.wep_key_value0.Assign("field");
    config.wpa_radius_port = 1812;
    config.ssid_count = 1;
    config.vlan_en = index % 9 == 4 ? 1 : 0;
    config.vlan_id = 1;
    config.vlan_id_wlan = 10;
    config.vlan_id_lan = 20;
    config.vlan_pvid = 1;
    config.vlan_id_lan3 = 30;
    config.vlan_id_lan4 = 40;
    config.bridge_transparent = IsTransparentBridgeException(model) ? 0 : static_cast<uint8_t>(random() % 2);
    config.tdmaEn = IsTdmaCapable(model) ? static_cast<uint8_t>(random() % 2) : 0;
    return config;
}

} // namespace

std::vector<CSimDevice> MakeSimDevices(const CSimOptions& options)
{
    std::vector<CSimDevice> devices;
    devices.reserve(static_cast<size_t>(options.count));
    const auto& table = ModelTable();
    int lastAccessPoint = -1;
    for (int i = 0; i < options.count; ++i)
    {
        std::mt19937 random(options.seed * 7919u + static_cast<uint32_t>(i));
        const uint16_t model = options.models.empty() ? table[static_cast<size_t>(i) % table.size()].code
                                                      : options.models[static_cast<size_t>(i) % options.models.size()];
        const MacBytes mac = AddToMac(options.baseMac, static_cast<uint64_t>(i));
        const Ipv4Bytes ip = AddToIp(options.firstIp, static_cast<uint32_t>(i));
        ap_config_info config = MakeConfig(options, model, mac, ip, static_cast<size_t>(i), random);
        if (config.work_mode == 2 && lastAccessPoint >= 0)
        {
            // A station bridged to the last access point before it.
            const ap_config_info& ap = devices[static_cast<size_t>(lastAccessPoint)].Config();
            config.bridge_work_mode = 2;
            std::memcpy(config.bridge_mac, devices[static_cast<size_t>(lastAccessPoint)].Mac().data(), 6);
            config.bridge_channel = ap.channel;
            config.bridge_ssid = ap.ssid;
        }
        if (config.work_mode == 1)
            lastAccessPoint = i;
        // Up for anything from a few minutes to some forty days.
        const uint32_t upTime = 300 + static_cast<uint32_t>(random() % (40u * 86400u));
        devices.emplace_back(mac, model, config, upTime);
    }
    return devices;
}

std::vector<config_otherwl_basic> MakeSurveyEntries(const std::vector<CSimDevice>& devices, size_t index,
                                                    const CSimOptions& options)
{
    std::vector<config_otherwl_basic> entries;
    const size_t wanted = static_cast<size_t>(options.surveyAps);
    std::mt19937 random(options.seed * 104729u + static_cast<uint32_t>(index));
    for (size_t i = 0; i < devices.size() && entries.size() < wanted; ++i)
    {
        const ap_config_info& config = devices[i].Config();
        if (i == index || config.work_mode != 1)
            continue;
        config_otherwl_basic entry{};
        std::memcpy(entry.mac, devices[i].Mac().data(), 6);
        entry.signal = static_cast<int8_t>(-40 - static_cast<int>(random() % 45));
        entry.channel = config.channel;
        entry.secure_mode = config.secure_mode;
        entry.ssid = config.ssid;
        entry.exchannel = config.expand_channel;
        entry.bandwidth = config.bandwidth;
        entries.push_back(entry);
    }
    const bool high = index < devices.size() && devices[index].Config().rf_type != 0;
    for (uint32_t n = 0; entries.size() < wanted; ++n)
    {
        config_otherwl_basic entry{};
        const MacBytes mac = {0x0a,
                              0x5e,
                              static_cast<uint8_t>(index >> 8),
                              static_cast<uint8_t>(index),
                              static_cast<uint8_t>(n >> 8),
                              static_cast<uint8_t>(n)};
        std::memcpy(entry.mac, mac.data(), 6);
        entry.signal = static_cast<int8_t>(-55 - static_cast<int>(random() % 40));
        entry.channel = PickChannel(high, random);
        entry.secure_mode = static_cast<uint8_t>(random() % 5);
        char ssid[40];
        std::snprintf(ssid, sizeof(ssid), "%s-%u", std::string(Pick(kSsids, random)).c_str(), n + 1);
        entry.ssid.Assign(ssid);
        entry.bandwidth = static_cast<uint8_t>(random() % 2);
        entries.push_back(entry);
    }
    return entries;
}

std::string VersionFromFirmwareName(const std::string& fileName, const std::string& currentVersion)
{
    for (size_t i = 0; i < fileName.size(); ++i)
    {
        if (!std::isdigit(static_cast<unsigned char>(fileName[i])))
            continue;
        size_t end = i;
        while (end < fileName.size() &&
               (std::isdigit(static_cast<unsigned char>(fileName[end])) || fileName[end] == '.'))
            ++end;
        std::string digits = fileName.substr(i, end - i);
        while (!digits.empty() && digits.back() == '.')
            digits.pop_back();
        if (digits.find('.') != std::string::npos)
            return ("V" + digits).substr(0, 32);
        i = end;
    }
    // No version in the name: the current one with its last number raised.
    size_t end = currentVersion.size();
    while (end > 0 && !std::isdigit(static_cast<unsigned char>(currentVersion[end - 1])))
        --end;
    size_t start = end;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(currentVersion[start - 1])))
        --start;
    if (start == end)
        return (currentVersion + ".1").substr(0, 32);
    const unsigned long number = std::stoul(currentVersion.substr(start, end - start)) + 1;
    return (currentVersion.substr(0, start) + std::to_string(number) + currentVersion.substr(end)).substr(0, 32);
}
