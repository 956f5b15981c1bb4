#include "app/settings.h"

#include <climits>
#include <vector>

#include "support/profile_file.h"

namespace
{

constexpr size_t kSettingValueLimit = 63;

std::vector<std::string> SplitColorFields(std::string_view text)
{
    std::vector<std::string> fields(1);
    char quote = 0;
    for (char c : text)
    {
        if (quote != 0)
        {
            if (c == quote)
                quote = 0;
        }
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == ',')
        {
            fields.emplace_back();
            continue;
        }
        fields.back() += c;
    }
    return fields;
}

} // namespace

int ParseSettingInteger(std::string_view text)
{
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        if (value <= INT_MAX)
            value = value * 10 + (text[at] - '0');
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

ColorRef ParseSettingColor(std::string_view text)
{
    const std::vector<std::string> fields = SplitColorFields(text);
    if (fields.size() != 3)
        return 0;
    int parts[3] = {};
    for (size_t i = 0; i < 3; ++i)
    {
        parts[i] = ParseSettingInteger(fields[i]);
        if (parts[i] < 0 || parts[i] > 255)
            return 0;
    }
    return MakeColorRef(parts[0], parts[1], parts[2]);
}

CSettings LoadSettings(const std::string& programDirectory)
{
    const CProfileFile file = CProfileFile::Load(programDirectory + "Setting.ini");
    auto text = [&file](const char* section, const char* key, const char* defaultValue)
    {
        std::string value = file.Find(section, key).value_or(defaultValue);
        if (value.size() > kSettingValueLimit)
            value.resize(kSettingValueLimit);
        return value;
    };
    auto color = [&](const char* section, const char* key, const char* defaultValue)
    { return ParseSettingColor(text(section, key, defaultValue)); };
    auto integer = [&](const char* section, const char* key, const char* defaultValue)
    { return ParseSettingInteger(text(section, key, defaultValue)); };

    CSettings settings;
    settings.ChildBkColor = color("Color", "ChildBkColor", "255,255,255");
    settings.FontName = text("Font", "FontName", "Arial");
    settings.ButtonMenuFontWeight = integer("Font", "ButtonMenuFontWeight", "0");
    settings.ButtonMenuFontHeight = integer("Font", "ButtonMenuFontHeight", "15");
    settings.ButtonMenuFontColor = color("Color", "ButtonMenuFontColor", "0,0,0");
    settings.ButtonFontWeight = integer("Font", "ButtonFontWeight", "0");
    settings.ButtonFontHeight = integer("Font", "ButtonFontHeight", "15");
    settings.ButtonFontColor = color("Color", "ButtonFontColor", "0,0,0");
    settings.StaticFontWeight = integer("Font", "StaticFontWeight", "0");
    settings.StaticFontHeight = integer("Font", "StaticFontHeight", "15");
    settings.StaticFontTextColor = color("Color", "StaticFontTextColor", "0,0,0");
    settings.StaticFontBkColor = color("Color", "StaticFontBkColor", "255,255,255");
    settings.TextDownColor = color("Color", "TextDownColor", "216,34,40");
    settings.LineColor = color("Color", "LineColor", "215,215,215");
    settings.ExpertTextColor = color("Color", "ExpertTextColor", "255,0,0");
    settings.StaticTextNumberColor = color("Color", "StaticTextNumberColor", "142,142,142");
    settings.GridTitleFontWeight = integer("Font", "GridTitleFontWeight", "700");
    settings.GridTitleFontHeight = integer("Font", "GridTitleFontHeight", "15");
    settings.GridFontWeight = integer("Font", "GridFontWeight", "0");
    settings.GridFontHeight = integer("Font", "GridFontHeight", "15");
    settings.GridTextColor = color("Color", "GridTextColor", "0,0,0");
    settings.GridTitleTextColor = color("Color", "GridTitleTextColor", "237,112,32");
    settings.GridTitleBkColor = color("Color", "GridTitleBkColor", "221,217,196");
    settings.TextUnlineColor = color("Color", "TextUnlineColor", "142,142,142");
    settings.TextOnlineColor = color("Color", "TextOnlineColor", "0,153,0");
    settings.retransmission_max = integer("Setting", "retransmission_max", "3");
    settings.retransmission_interval = integer("Setting", "retransmission_interval", "2000");

    settings.GridTitleFont = {settings.FontName, settings.GridTitleFontHeight, settings.GridTitleFontWeight};
    settings.GridFont = {settings.FontName, settings.GridFontHeight, settings.GridFontWeight};
    settings.GridRowHeight = 48;
    settings.VersionText = std::string("V") + FIELDMATE_VERSION_TEXT;
    settings.ProgramDirectory = programDirectory;
    return settings;
}
