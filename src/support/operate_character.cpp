#include "support/operate_character.h"

#include <algorithm>
#include <array>

#include "support/text_convert.h"

namespace
{

constexpr std::array<char16_t, 32> kChinesePunctuation = {
    0x00B7, 0x2014, 0x2018, 0x2019, 0x201C, 0x201D, 0x2026, 0x3001, 0x3002, 0x3008, 0x3009,
    0x300A, 0x300B, 0x300C, 0x300D, 0x300E, 0x300F, 0x3010, 0x3011, 0x3014, 0x3015, 0xFE43,
    0xFE44, 0xFE4F, 0xFF01, 0xFF08, 0xFF09, 0xFF0C, 0xFF1A, 0xFF1B, 0xFF1F, 0xFF5E};

// Number of continuation bytes a lead byte announces, or -1 for a byte that cannot lead.
int ContinuationCount(unsigned char lead)
{
    if ((lead & 0xE0) == 0xC0)
        return 1;
    if ((lead & 0xF0) == 0xE0)
        return 2;
    if ((lead & 0xF8) == 0xF0)
        return 3;
    return -1;
}

} // namespace

bool IsChineseCharacter(char16_t character)
{
    if (character >= 0x4E00 && character <= 0x9FA5)
        return true;
    return character == 0xFFE5 ||
           std::find(kChinesePunctuation.begin(), kChinesePunctuation.end(), character) != kChinesePunctuation.end();
}

std::string COperateCharacter::AnsiToUtf8(std::string_view text) const
{
    return LocalToUtf8(text);
}

std::string COperateCharacter::Utf8ToAnsi(std::string_view text) const
{
    return Utf8ToLocal(text);
}

std::optional<std::string> COperateCharacter::CutIncompleteUtf8(std::string_view text) const
{
    // Two-byte sequences count as whole characters too: refusing them would cut an accented
    // name short at its first accent.
    size_t kept = 0;
    size_t position = 0;
    while (position < text.size())
    {
        const auto lead = static_cast<unsigned char>(text[position]);
        if (lead < 0x80)
        {
            kept = ++position;
            continue;
        }
        const int count = ContinuationCount(lead);
        if (count < 0 || position + static_cast<size_t>(count) >= text.size())
            break;
        bool complete = true;
        for (int i = 1; i <= count; ++i)
            if ((static_cast<unsigned char>(text[position + static_cast<size_t>(i)]) & 0xC0) != 0x80)
                complete = false;
        if (!complete)
            break;
        position += static_cast<size_t>(count) + 1;
        kept = position;
    }
    if (kept < 2)
        return std::nullopt;
    return std::string(text.substr(0, kept));
}

size_t COperateCharacter::CountChineseCharacters(std::u16string_view text) const
{
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), IsChineseCharacter));
}

std::string LocalTextToDevice(std::string_view text)
{
    if (COperateCharacter().CountChineseCharacters(LocalToWide(text)) >= 1)
        return LocalToUtf8(text);
    return std::string(text);
}

std::string DeviceTextToLocal(std::string_view bytes)
{
    const bool hasHighBit = std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    if (!hasHighBit)
        return std::string(bytes);
    const std::optional<std::string> whole = COperateCharacter().CutIncompleteUtf8(bytes);
    return Utf8ToLocal(whole ? *whole : bytes);
}
