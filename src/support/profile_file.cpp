#include "support/profile_file.h"

#include <fstream>
#include <sstream>

namespace
{

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A value in matching quotes loses them, as the platform's profile reader does.
std::string Unquote(std::string value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

bool EqualsIgnoreCase(std::string_view left, std::string_view right)
{
    if (left.size() != right.size())
        return false;
    for (size_t i = 0; i < left.size(); ++i)
        if (LowerAscii(left[i]) != LowerAscii(right[i]))
            return false;
    return true;
}

std::string ToLowerAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = LowerAscii(c);
    return result;
}

std::string TrimBlanks(std::string_view text)
{
    const char* blanks = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(blanks);
    return std::string(text.substr(first, last - first + 1));
}

CProfileFile CProfileFile::Load(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    std::ostringstream content;
    content << file.rdbuf();
    return Parse(content.str());
}

CProfileFile CProfileFile::Parse(std::string_view text)
{
    CProfileFile profile;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    Section* current = nullptr;
    size_t start = 0;
    while (start <= text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string line = TrimBlanks(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[')
        {
            const size_t close = line.find(']');
            profile.m_sections.push_back(
                {TrimBlanks(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)), {}});
            current = &profile.m_sections.back();
            continue;
        }
        const size_t equals = line.find('=');
        if (current == nullptr || equals == std::string::npos)
            continue;
        current->entries.emplace_back(TrimBlanks(line.substr(0, equals)), Unquote(TrimBlanks(line.substr(equals + 1))));
    }
    return profile;
}

std::optional<std::string> CProfileFile::Find(std::string_view section, std::string_view key) const
{
    // A section may appear more than once; the first occurrence of the key across them wins.
    for (const Section& candidate : m_sections)
    {
        if (!EqualsIgnoreCase(candidate.name, section))
            continue;
        for (const auto& [name, value] : candidate.entries)
            if (EqualsIgnoreCase(name, key))
                return value;
    }
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> CProfileFile::Entries(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (const Section& candidate : m_sections)
        if (EqualsIgnoreCase(candidate.name, section))
            entries.insert(entries.end(), candidate.entries.begin(), candidate.entries.end());
    return entries;
}

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view defaultValue, size_t maxChars)
{
    const std::optional<std::string> value = CProfileFile::Load(path).Find(section, key);
    std::string result = value ? *value : std::string(defaultValue);
    if (result.size() > maxChars)
        result.resize(maxChars);
    return result;
}
