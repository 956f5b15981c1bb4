// Conversions between the locale's codeset ("local" text), UTF-8 and 16-bit wide text.
#pragma once

#include <string>
#include <string_view>

// The codeset of the current locale. A plain ASCII locale (C, POSIX) counts as UTF-8, since
// device names and SSIDs could not be held in it otherwise.
std::string LocalCodeset();
bool LocalCodesetIsUtf8();

// Invalid input bytes become U+FFFD (wide) or '?' (narrow); the conversions never fail.
std::u16string LocalToWide(std::string_view text);
std::string WideToLocal(std::u16string_view text);
std::string LocalToUtf8(std::string_view text);
std::string Utf8ToLocal(std::string_view text);
std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);
