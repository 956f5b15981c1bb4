// Reading INI ("profile") files: case-insensitive sections and keys, first match wins,
// values trimmed and cut to the caller's limit.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CProfileFile
{
public:
    struct Section
    {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };

    // An unreadable file parses as empty.
    static CProfileFile Load(const std::string& path);
    static CProfileFile Parse(std::string_view text);

    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // Every entry of the section (of all its occurrences), in file order.
    std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;

private:
    std::vector<Section> m_sections;
};

// The value, cut to maxChars characters, or the default when the file, section or key is missing.
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view defaultValue, size_t maxChars);

bool EqualsIgnoreCase(std::string_view left, std::string_view right);
std::string ToLowerAscii(std::string_view text);
std::string TrimBlanks(std::string_view text);
