#include "support/operate_file_ini.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

#include "support/profile_file.h"

namespace
{

std::vector<std::string> SplitLines(const std::string& text, bool& crlf)
{
    std::vector<std::string> lines;
    crlf = text.find("\r\n") != std::string::npos;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool IsSectionLine(const std::string& line, std::string* name)
{
    const std::string trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed[0] != '[')
        return false;
    const size_t close = trimmed.find(']');
    *name = TrimBlanks(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

bool IsKeyLine(const std::string& line, const std::string& key)
{
    const std::string trimmed = TrimBlanks(line);
    const size_t equals = trimmed.find('=');
    return equals != std::string::npos && trimmed[0] != ';' &&
           EqualsIgnoreCase(TrimBlanks(trimmed.substr(0, equals)), key);
}

} // namespace

bool COperateFileIni::WriteValue(const std::string& section, const std::string& key, const std::string& value,
                                 const std::string& path) const
{
    std::string original;
    {
        std::ifstream file(path, std::ios::binary);
        if (file)
        {
            std::ostringstream content;
            content << file.rdbuf();
            original = content.str();
        }
    }
    bool crlf = false;
    std::vector<std::string> lines = SplitLines(original, crlf);
    const std::string entry = key + "=" + value;

    bool inSection = false;
    bool done = false;
    size_t lastEntryOfSection = 0;
    bool sectionFound = false;
    for (size_t i = 0; i < lines.size() && !done; ++i)
    {
        std::string name;
        if (IsSectionLine(lines[i], &name))
        {
            if (inSection)
                break;
            inSection = EqualsIgnoreCase(name, section);
            if (inSection)
            {
                sectionFound = true;
                lastEntryOfSection = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (IsKeyLine(lines[i], key))
        {
            // The key keeps the spelling it has in the file.
            lines[i] = TrimBlanks(lines[i].substr(0, lines[i].find('='))) + "=" + value;
            done = true;
        }
        else if (!TrimBlanks(lines[i]).empty())
            lastEntryOfSection = i;
    }
    if (!done && sectionFound)
        lines.insert(lines.begin() + static_cast<long>(lastEntryOfSection) + 1, entry);
    else if (!done)
    {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    }

    std::string text;
    for (const std::string& line : lines)
        text += line + (crlf ? "\r\n" : "\n");

    // Written beside the file and renamed over it, so a reader never sees half a file.
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file || !(file << text) || !file.flush())
        {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
