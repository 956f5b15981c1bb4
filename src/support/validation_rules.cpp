#include "support/validation_rules.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <regex>

#include "support/operate_character.h"

namespace
{

constexpr std::u16string_view kNameSymbols = u"!#$%&()*+-./<=>?@^_~";

bool IsLetterOrDigit(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

bool IsHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// UTF-8 bytes and 16-bit units of the character at position at.
std::pair<size_t, size_t> Utf8CharacterAt(std::u16string_view text, size_t at)
{
    const char16_t c = text[at];
    if (c <= 0x7F)
        return {1, 1};
    if (c <= 0x7FF)
        return {2, 1};
    if (IsHighSurrogate(c) && at + 1 < text.size() && IsLowSurrogate(text[at + 1]))
        return {4, 2};
    return {3, 1};
}

size_t CountParts(std::string_view text, char separator)
{
    return static_cast<size_t>(std::count(text.begin(), text.end(), separator)) + 1;
}

} // namespace

bool IsUnsetAddress(std::string_view address)
{
    return address.empty() || address == "0.0.0.0";
}

std::optional<AddressBytes> ParseAddressText(std::string_view address)
{
    if (CountParts(address, '.') != 4)
        return std::nullopt;
    AddressBytes bytes{};
    for (size_t i = 0; i < bytes.size(); ++i)
    {
        const size_t dot = address.find('.');
        const std::string_view part = address.substr(0, dot);
        if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0'))
            return std::nullopt;
        int value = 0;
        for (char c : part)
        {
            if (c < '0' || c > '9')
                return std::nullopt;
            value = value * 10 + (c - '0');
        }
        if (value > 255)
            return std::nullopt;
        bytes[i] = static_cast<uint8_t>(value);
        address.remove_prefix(dot == std::string_view::npos ? address.size() : dot + 1);
    }
    return bytes;
}

bool IsValidIpAddress(std::string_view address, bool unsetAllowed)
{
    if (IsUnsetAddress(address))
        return unsetAllowed;
    const std::optional<AddressBytes> bytes = ParseAddressText(address);
    if (!bytes)
        return false;
    const uint8_t first = (*bytes)[0];
    const uint8_t last = (*bytes)[3];
    return first != 0 && first != 127 && first < 224 && last != 0 && last != 255;
}

bool IsValidSubnetMask(std::string_view mask)
{
    if (CountParts(mask, '.') != 4)
        return false;
    // The dots are unescaped, so they match any character; the part count above leaves only dots there.
    static const std::regex kMaskPattern(
        "^(254|252|248|240|224|192|128).0.0.0$|^(255.(254|252|248|240|224|192|128|0).0.0)$|"
        "^(255.255.(254|252|248|240|224|192|128|0).0)$|^(255.255.255.(254|252|248|240|224|192|128|0))$",
        std::regex::ECMAScript);
    return std::regex_match(mask.begin(), mask.end(), kMaskPattern);
}

bool IsSameSubnet(const AddressBytes& first, const AddressBytes& second, const AddressBytes& mask)
{
    for (size_t i = 0; i < mask.size(); ++i)
        if ((first[i] & mask[i]) != (second[i] & mask[i]))
            return false;
    return true;
}

std::string NetworkAddressOf(const AddressBytes& address, const AddressBytes& mask)
{
    char text[16];
    snprintf(text, sizeof(text), "%d.%d.%d.%d", address[0] & mask[0], address[1] & mask[1], address[2] & mask[2],
             address[3] & mask[3]);
    return text;
}

bool AreDnsServersDistinct(std::string_view dns1, std::string_view dns2)
{
    return IsUnsetAddress(dns1) || IsUnsetAddress(dns2) || dns1 != dns2;
}

bool IsNotBlank(std::u16string_view text)
{
    return text.find_first_not_of(u' ') != std::u16string_view::npos;
}

bool MatchesRestrictedNameSet(std::u16string_view text)
{
    const bool allowed = std::all_of(
        text.begin(), text.end(),
        [](char16_t c)
        { return IsLetterOrDigit(c) || kNameSymbols.find(c) != std::u16string_view::npos || IsChineseCharacter(c); });
    return allowed && Utf8ByteLength(text) <= kNameByteLimit;
}

bool MatchesOpenNameSet(std::u16string_view text)
{
    const bool allowed =
        std::all_of(text.begin(), text.end(), [](char16_t c) { return (c >= 1 && c <= 127) || IsChineseCharacter(c); });
    return allowed && Utf8ByteLength(text) <= kNameByteLimit;
}

bool UsesRestrictedNameSet(int apType)
{
    return apType == 4 || apType == 17 || apType == 261 || apType == 276;
}

bool IsHexText(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char16_t c)
                       { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); });
}

bool IsAsciiText(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 127; });
}

size_t Utf8ByteLength(std::u16string_view text)
{
    size_t bytes = 0;
    for (size_t at = 0; at < text.size();)
    {
        const auto [size, units] = Utf8CharacterAt(text, at);
        bytes += size;
        at += units;
    }
    return bytes;
}

std::u16string CutToUtf8Bytes(std::u16string_view text, size_t limit)
{
    size_t bytes = 0;
    size_t at = 0;
    while (at < text.size())
    {
        const auto [size, units] = Utf8CharacterAt(text, at);
        if (bytes + size > limit)
            break;
        bytes += size;
        at += units;
    }
    return std::u16string(text.substr(0, at));
}

int64_t ReadDecimalNumber(std::u16string_view text)
{
    size_t at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t'))
        ++at;
    int64_t value = 0;
    constexpr int64_t kLimit = std::numeric_limits<int64_t>::max();
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at)
    {
        const int digit = text[at] - u'0';
        value = value > (kLimit - digit) / 10 ? kLimit : value * 10 + digit;
    }
    return value;
}
