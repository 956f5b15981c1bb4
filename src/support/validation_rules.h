// The input rules every configuration dialog and the command line apply before anything is sent to a
// device: pure functions over address texts, address bytes and typed text.
//
// Address texts are dotted text as a four-part address field gives it ("" and "0.0.0.0" both mean
// unset). Typed text is UTF-16, as the user typed it: the character sets below are sets of 16-bit
// characters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using AddressBytes = std::array<uint8_t, 4>;

// Names and SSIDs may take at most this many UTF-8 bytes.
constexpr size_t kNameByteLimit = 32;

// "" or "0.0.0.0".
bool IsUnsetAddress(std::string_view address);

// The four numbers of "a.b.c.d", each 0 to 255 in plain decimal (no sign, blank or leading zero);
// nothing for any other text.
std::optional<AddressBytes> ParseAddressText(std::string_view address);

// Unset: unsetAllowed. Otherwise four numbers with the first not 0, not 127 and below 224, and the
// last neither 0 nor 255.
bool IsValidIpAddress(std::string_view address, bool unsetAllowed);

// A contiguous mask of prefix length 1 to 31 (128.0.0.0 to 255.255.255.254).
bool IsValidSubnetMask(std::string_view mask);

bool IsSameSubnet(const AddressBytes& first, const AddressBytes& second, const AddressBytes& mask);

// "%d.%d.%d.%d" of address AND mask.
std::string NetworkAddressOf(const AddressBytes& address, const AddressBytes& mask);

// False only when both are set and equal as text.
bool AreDnsServersDistinct(std::string_view dns1, std::string_view dns2);

// At least one character other than the space.
bool IsNotBlank(std::u16string_view text);

// Every character a letter, a digit, one of ! # $ % & ( ) * + - . / < = > ? @ ^ _ ~ or a Chinese
// character, and at most 32 UTF-8 bytes.
bool MatchesRestrictedNameSet(std::u16string_view text);

// Every character ASCII (1 to 127) or Chinese, and at most 32 UTF-8 bytes.
bool MatchesOpenNameSet(std::u16string_view text);

// Models 4, 17, 261 and 276 take the restricted name set for names and SSIDs; all others the open one.
bool UsesRestrictedNameSet(int apType);

// Every character 0-9, a-f or A-F (true for empty text).
bool IsHexText(std::u16string_view text);

// Every character 127 or below (true for empty text).
bool IsAsciiText(std::u16string_view text);

// The text's UTF-8 length: 1 byte up to U+007F, 2 up to U+07FF, 3 above; a surrogate pair is one
// character of 4 bytes.
size_t Utf8ByteLength(std::u16string_view text);

// The longest leading part of the text of at most limit UTF-8 bytes; never splits a surrogate pair.
std::u16string CutToUtf8Bytes(std::u16string_view text, size_t limit);

// A number field's value: its leading decimal digits after blanks, 0 when there are none. Values
// beyond the range of int64_t saturate.
int64_t ReadDecimalNumber(std::u16string_view text);
