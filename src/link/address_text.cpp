#include "link/address_text.h"

#include <cstdio>

namespace
{

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads count numbers separated by separator, each after optional blanks. Stops at the first
// number without a digit or without its separator; the numbers not read stay 0. Only the low
// 32 bits of a number are kept, so no input can overflow.
template <size_t Count>
std::array<uint32_t, Count> ReadNumbers(std::string_view text, char separator, uint32_t base)
{
    std::array<uint32_t, Count> numbers{};
    size_t at = 0;
    for (size_t i = 0; i < Count; ++i)
    {
        if (i > 0)
        {
            if (at >= text.size() || text[at] != separator)
                break;
            ++at;
        }
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        const size_t first = at;
        uint32_t value = 0;
        for (; at < text.size(); ++at)
        {
            const int digit = base == 16 ? HexDigitValue(text[at]) : (IsDecimalDigit(text[at]) ? text[at] - '0' : -1);
            if (digit < 0)
                break;
            value = value * base + static_cast<uint32_t>(digit);
        }
        if (at == first)
            break;
        numbers[i] = value;
    }
    return numbers;
}

// Like atoi on one part, but wrapping instead of overflowing.
uint32_t LeadingDecimal(std::string_view part)
{
    size_t at = 0;
    while (at < part.size() && (part[at] == ' ' || part[at] == '\t'))
        ++at;
    bool negative = false;
    if (at < part.size() && (part[at] == '-' || part[at] == '+'))
        negative = part[at++] == '-';
    uint32_t value = 0;
    for (; at < part.size() && IsDecimalDigit(part[at]); ++at)
        value = value * 10 + static_cast<uint32_t>(part[at] - '0');
    return negative ? 0u - value : value;
}

} // namespace

std::string MacBytesToText(std::span<const uint8_t, 6> mac)
{
    char text[18];
    snprintf(text, sizeof(text), "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
    return text;
}

MacBytes MacTextToBytes(std::string_view text)
{
    const std::array<uint32_t, 6> numbers = ReadNumbers<6>(text, ':', 16);
    MacBytes mac{};
    for (size_t i = 0; i < mac.size(); ++i)
        mac[i] = static_cast<uint8_t>(numbers[i]);
    return mac;
}

std::string IpBytesToText(std::span<const uint8_t, 4> ip)
{
    char text[16];
    snprintf(text, sizeof(text), "%d.%d.%d.%d", ip[0], ip[1], ip[2], ip[3]);
    return text;
}

Ipv4Bytes IpTextToBytes(std::string_view text)
{
    const std::array<uint32_t, 4> numbers = ReadNumbers<4>(text, '.', 10);
    Ipv4Bytes ip{};
    for (size_t i = 0; i < ip.size(); ++i)
        ip[i] = static_cast<uint8_t>(numbers[i]);
    return ip;
}

uint32_t IpTextToNumber(std::string_view text)
{
    uint32_t number = 0;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const size_t dot = text.find('.');
        number += LeadingDecimal(text.substr(0, dot)) << shift;
        if (dot == std::string_view::npos)
            break;
        text.remove_prefix(dot + 1);
    }
    return number;
}
