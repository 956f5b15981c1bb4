#include "support/validation_checks.h"

#include "support/language.h"
#include "support/validation_rules.h"

namespace
{

ValidationFailure Fail(const char* key, MessageBoxKind box, ValidationFocus focus = ValidationFocus::None)
{
    return ValidationFailure{key, box, focus, {}};
}

bool IsValidKeyInterval(std::u16string_view interval)
{
    const int64_t value = ReadDecimalNumber(interval);
    return value == 0 || (value >= 60 && value <= 99999);
}

} // namespace

std::string ValidationMessageText(const ValidationFailure& failure)
{
    const std::string format = LookupText(failure.messageKey);
    std::string text;
    size_t next = 0;
    for (size_t at = 0; at < format.size(); ++at)
    {
        if (format[at] == '%' && at + 1 < format.size())
        {
            if (format[at + 1] == '%')
            {
                text += '%';
                ++at;
                continue;
            }
            if (format[at + 1] == 'd' && next < failure.arguments.size())
            {
                text += std::to_string(failure.arguments[next++]);
                ++at;
                continue;
            }
        }
        text += format[at];
    }
    return text;
}

ValidationResult CheckIpSettings(std::string_view address, std::string_view mask, std::string_view gateway,
                                 std::string_view dns1, std::string_view dns2)
{
    constexpr MessageBoxKind kBox = MessageBoxKind::Plain;
    if (!IsValidIpAddress(address, false))
        return Fail("The ip address is invalid!", kBox);
    if (!IsValidSubnetMask(mask))
        return Fail("The subnet mask is invalid!", kBox);
    if (!IsValidIpAddress(gateway, true))
        return Fail("The gateway address is invalid!", kBox);
    if (address == gateway)
        return Fail("The ip address and gateway address cannot be the same!", kBox);
    // The checks above leave four plain numbers in the address and the mask.
    const AddressBytes addressBytes = ParseAddressText(address).value_or(AddressBytes{});
    const AddressBytes maskBytes = ParseAddressText(mask).value_or(AddressBytes{});
    if (NetworkAddressOf(addressBytes, maskBytes) == address)
        return Fail("IP Address can't be the network segment!", kBox);
    if (!IsUnsetAddress(gateway) &&
        !IsSameSubnet(ParseAddressText(gateway).value_or(AddressBytes{}), addressBytes, maskBytes))
        return Fail("Ip address and gateway address is not in the same subnet!", kBox);
    if (!IsValidIpAddress(dns1, true))
        return Fail("The primary DNS Server is invalid!", kBox);
    if (!IsValidIpAddress(dns2, true))
        return Fail("The secondary DNS Server is invalid!", kBox);
    if (!AreDnsServersDistinct(dns1, dns2))
        return Fail("Primary DNS Server and Secondary DNS Server can't be the same!", kBox);
    return std::nullopt;
}

ValidationResult CheckDeviceName(std::u16string_view name, int apType)
{
    constexpr MessageBoxKind kBox = MessageBoxKind::Warning;
    constexpr ValidationFocus kFocus = ValidationFocus::Name;
    if (name.empty())
        return Fail("The device name can not be empty!", kBox, kFocus);
    if (UsesRestrictedNameSet(apType))
    {
        if (!MatchesRestrictedNameSet(name))
            return Fail("Device name maximum allowed 32 bytes, only support combination of Chinese, lowercase "
                        "letters, 0-9 numbers",
                        kBox, kFocus);
    }
    else if (!MatchesOpenNameSet(name))
        return Fail("Device name maximum allowed 32 bytes, only support combination of Chinese, ASCII characters", kBox,
                    kFocus);
    return std::nullopt;
}

ValidationResult CheckSsid(std::u16string_view ssid, int apType)
{
    constexpr MessageBoxKind kBox = MessageBoxKind::Warning;
    constexpr ValidationFocus kFocus = ValidationFocus::Ssid;
    if (ssid.empty())
        return Fail("The ssid can not be empty!", kBox, kFocus);
    if (!IsNotBlank(ssid))
        return Fail("Please enter 1 to 32 byte ASCII charaters or chinese characters!", kBox, kFocus);
    if (UsesRestrictedNameSet(apType))
    {
        if (!MatchesRestrictedNameSet(ssid))
            return Fail("SSID maximum allowed 32 bytes, only support combination of Chinese, lowercase letters, 0-9 "
                        "numbers",
                        kBox, kFocus);
    }
    else if (!MatchesOpenNameSet(ssid))
        return Fail("SSID maximum allowed 32 bytes, only support combination of Chinese, ASCII characters", kBox,
                    kFocus);
    return std::nullopt;
}

ValidationResult CheckTxPower(std::u16string_view power, int minimum, int maximum)
{
    const int64_t value = ReadDecimalNumber(power);
    if (power.empty() || value < minimum || value > maximum)
        return ValidationFailure{
            "Power value range:%d-%d", MessageBoxKind::Warning, ValidationFocus::Power, {minimum, maximum}};
    return std::nullopt;
}

ValidationResult CheckPreSharedKey(std::u16string_view key, std::u16string_view interval)
{
    constexpr MessageBoxKind kBox = MessageBoxKind::Warning;
    constexpr const char* kKeyMessage = "Please enter a key for 8~63 ASCII characters or 8~64 HEX characters!";
    if (key.size() < 8 || key.size() > 64)
        return Fail(kKeyMessage, kBox);
    if (key.size() == 64 ? !IsHexText(key) : !IsAsciiText(key))
        return Fail(kKeyMessage, kBox);
    if (interval.empty())
        return Fail("The key update interval should not be empty!", kBox, ValidationFocus::KeyInterval);
    if (!IsValidKeyInterval(interval))
        return Fail("The key update interval range: 60~99999 or 0!", kBox, ValidationFocus::KeyInterval);
    return std::nullopt;
}

ValidationResult CheckRadius(std::string_view serverAddress, std::u16string_view port, std::u16string_view key,
                             std::u16string_view interval)
{
    constexpr MessageBoxKind kBox = MessageBoxKind::Warning;
    const std::optional<AddressBytes> server = ParseAddressText(serverAddress);
    if (!server || (*server)[0] == 0 || (*server)[0] == 127 || (*server)[0] >= 224 || (*server)[3] == 0 ||
        (*server)[3] == 255)
        return Fail("Please enter a valid RADIUS Server address!", kBox);
    const int64_t portNumber = ReadDecimalNumber(port);
    if (portNumber < 1 || portNumber > 65535)
        return Fail("Please specify a valid RADIUS Port!", kBox);
    if (key.empty() || key.size() > 64 || !IsAsciiText(key))
        return Fail("Please enter a key for 1~64 ASCII characters!", kBox);
    if (interval.empty())
        return Fail("The key update interval should not be empty!", kBox);
    if (!IsValidKeyInterval(interval))
        return Fail("The key update interval range: 60~99999 or 0!", kBox, ValidationFocus::RadiusInterval);
    return std::nullopt;
}

ValidationResult CheckWepKeys(const std::array<WepKeyInput, 4>& keys, int defaultKey)
{
    constexpr MessageBoxKind kBox = MessageBoxKind::TitledWarning;
    for (const WepKeyInput& key : keys)
    {
        if (key.text.empty())
            continue;
        const size_t length = key.text.size();
        if (key.type == 1)
        {
            if ((length != 10 && length != 26) || !IsHexText(key.text))
                return Fail("WEP key is invalid! Please enter 10 or 26 HEX characters!", kBox);
        }
        else if (length != 5 && length != 13)
            return Fail("WEP key is invalid! Please enter 5 or 13 ASCII characters!", kBox);
        else if (!IsAsciiText(key.text))
            return Fail("WEP key includes invalid characters (It should only include 0-9,a-z,A-Z,@,*,- and _.)!", kBox);
    }
    static constexpr std::array<const char*, 4> kMissingDefault = {
        "Please enter the WEP key1!", "Please enter the WEP key2!", "Please enter the WEP key3!",
        "Please enter the WEP key4!"};
    if (defaultKey >= 1 && defaultKey <= 4 && keys[static_cast<size_t>(defaultKey - 1)].text.empty())
        return Fail(kMissingDefault[static_cast<size_t>(defaultKey - 1)], kBox);
    return std::nullopt;
}
