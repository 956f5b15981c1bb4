// The interface language: chosen once from the locale, every shown text looked up by its English key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

constexpr uint32_t kLcidEnglish = 1033;
constexpr uint32_t kLcidChineseSimplified = 2052;
constexpr uint32_t kLcidChineseTraditional = 1028;

// The LCID for a locale name such as "zh_CN.UTF-8"; 1033 when the name is not in the table.
uint32_t LcidFromLocaleName(std::string_view localeName);

// The LCID of the user's locale (LC_ALL, then LC_MESSAGES, then LANG).
uint32_t SystemDefaultLcid();

// Picks the language for the LCID through Languages/Language.ini in the program directory.
void InitLanguage(const std::string& programDirectory, uint32_t systemLcid = SystemDefaultLcid());

// The translation of text in the current language file, or text itself when there is none.
std::string LookupText(std::string_view text);

uint32_t GetCurrentLcid();
std::string GetLanguageName();
std::string GetLanguageFilePath();
