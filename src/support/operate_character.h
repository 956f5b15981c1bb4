// Text services for device texts: UTF-8 on the wire, the locale's codeset inside the tool.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class COperateCharacter
{
public:
    std::string AnsiToUtf8(std::string_view text) const;
    std::string Utf8ToAnsi(std::string_view text) const;

    // The text without a trailing character whose UTF-8 bytes were cut short. Fails (nullopt)
    // when fewer than two bytes remain.
    std::optional<std::string> CutIncompleteUtf8(std::string_view text) const;

    size_t CountChineseCharacters(std::u16string_view text) const;
};

// The Chinese character set that name and SSID rules count.
bool IsChineseCharacter(char16_t character);

// Local text to the bytes a device expects: UTF-8 when the text holds a Chinese character,
// otherwise unchanged.
std::string LocalTextToDevice(std::string_view text);

// Bytes from a device to local text.
std::string DeviceTextToLocal(std::string_view bytes);
