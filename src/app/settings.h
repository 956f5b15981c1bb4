// Setting.ini: the look of the interface and the two retransmission values, read once at start-up.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A colour as red + green * 256 + blue * 65536.
using ColorRef = uint32_t;

constexpr ColorRef MakeColorRef(int red, int green, int blue)
{
    return static_cast<ColorRef>(red) | (static_cast<ColorRef>(green) << 8) | (static_cast<ColorRef>(blue) << 16);
}
constexpr int ColorRed(ColorRef colour)
{
    return static_cast<int>(colour & 0xFF);
}
constexpr int ColorGreen(ColorRef colour)
{
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int ColorBlue(ColorRef colour)
{
    return static_cast<int>((colour >> 16) & 0xFF);
}

struct FontSpec
{
    std::string face;
    int height = 0;
    int weight = 0;
};

struct CSettings
{
    ColorRef ChildBkColor = 0;
    std::string FontName;
    int ButtonMenuFontWeight = 0;
    int ButtonMenuFontHeight = 0;
    ColorRef ButtonMenuFontColor = 0;
    int ButtonFontWeight = 0;
    int ButtonFontHeight = 0;
    ColorRef ButtonFontColor = 0;
    int StaticFontWeight = 0;
    int StaticFontHeight = 0;
    ColorRef StaticFontTextColor = 0;
    ColorRef StaticFontBkColor = 0;
    ColorRef TextDownColor = 0;
    ColorRef LineColor = 0;
    ColorRef ExpertTextColor = 0;
    ColorRef StaticTextNumberColor = 0;
    int GridTitleFontWeight = 0;
    int GridTitleFontHeight = 0;
    int GridFontWeight = 0;
    int GridFontHeight = 0;
    ColorRef GridTextColor = 0;
    ColorRef GridTitleTextColor = 0;
    ColorRef GridTitleBkColor = 0;
    ColorRef TextUnlineColor = 0;
    ColorRef TextOnlineColor = 0;
    int retransmission_max = 0;
    int retransmission_interval = 0;

    // Derived at load.
    FontSpec GridTitleFont;
    FontSpec GridFont;
    int GridRowHeight = 48;
    std::string VersionText;
    std::string ProgramDirectory;
};

// Reads <programDirectory>Setting.ini; every missing key takes its default.
CSettings LoadSettings(const std::string& programDirectory);

// Three comma-separated numbers 0..255, else black (0).
ColorRef ParseSettingColor(std::string_view text);

// The leading decimal digits after blanks, like atoi: "1500ms" gives 1500, "" gives 0.
int ParseSettingInteger(std::string_view text);
