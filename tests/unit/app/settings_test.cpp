#include "app/settings.h"

#include <gtest/gtest.h>

#include "common/temp_dir.h"

TEST(Settings, MissingFileGivesEveryDefault)
{
    CTempDir directory;
    const CSettings settings = LoadSettings(directory.Path());
    EXPECT_EQ(settings.ChildBkColor, MakeColorRef(255, 255, 255));
    EXPECT_EQ(settings.FontName, "Arial");
    EXPECT_EQ(settings.TextDownColor, MakeColorRef(216, 34, 40));
    EXPECT_EQ(settings.GridTitleTextColor, MakeColorRef(237, 112, 32));
    EXPECT_EQ(settings.GridTitleFontWeight, 700);
    EXPECT_EQ(settings.TextOnlineColor, MakeColorRef(0, 153, 0));
    EXPECT_EQ(settings.retransmission_max, 3);
    EXPECT_EQ(settings.retransmission_interval, 2000);
    EXPECT_EQ(settings.GridRowHeight, 48);
    EXPECT_EQ(settings.GridTitleFont.face, "Arial");
    EXPECT_EQ(settings.GridTitleFont.weight, 700);
    EXPECT_EQ(settings.GridFont.height, 15);
    EXPECT_EQ(settings.VersionText, std::string("V") + FIELDMATE_VERSION_TEXT);
    EXPECT_EQ(settings.ProgramDirectory, directory.Path());
}

TEST(Settings, ShippedFileHoldsTheDefaults)
{
    CTempDir directory;
    const CSettings defaults = LoadSettings(directory.Path());
    WriteTextFile(directory.Path() + "Setting.ini", ReadTextFile(FIELDMATE_SOURCE_DIR "/resources/Setting.ini"));
    const CSettings shipped = LoadSettings(directory.Path());
    EXPECT_EQ(shipped.ChildBkColor, defaults.ChildBkColor);
    EXPECT_EQ(shipped.StaticFontBkColor, defaults.StaticFontBkColor);
    EXPECT_EQ(shipped.GridTitleBkColor, defaults.GridTitleBkColor);
    EXPECT_EQ(shipped.TextUnlineColor, defaults.TextUnlineColor);
    EXPECT_EQ(shipped.ButtonMenuFontHeight, defaults.ButtonMenuFontHeight);
    EXPECT_EQ(shipped.GridTitleFontWeight, defaults.GridTitleFontWeight);
    EXPECT_EQ(shipped.retransmission_max, defaults.retransmission_max);
    EXPECT_EQ(shipped.retransmission_interval, defaults.retransmission_interval);
}

TEST(Settings, ValuesAsWrittenInTheFile)
{
    CTempDir directory;
    WriteTextFile(directory.Path() + "Setting.ini", "[color]\r\n"
                                                    "childbkcolor=255,255\r\n"
                                                    "LineColor=256,0,0\r\n"
                                                    "GridTextColor= 10 , 20x, 30\r\n"
                                                    "[Setting]\r\n"
                                                    "retransmission_interval=1500ms\r\n"
                                                    "retransmission_max=\r\n"
                                                    "[Font]\r\n"
                                                    "FontName=" +
                                                        std::string(70, 'F') + "\r\n");
    const CSettings settings = LoadSettings(directory.Path());
    EXPECT_EQ(settings.ChildBkColor, 0u) << "two fields give black, not the default white";
    EXPECT_EQ(settings.LineColor, 0u);
    EXPECT_EQ(settings.GridTextColor, MakeColorRef(10, 20, 30));
    EXPECT_EQ(settings.retransmission_interval, 1500);
    EXPECT_EQ(settings.retransmission_max, 0) << "a present empty value is not the default";
    EXPECT_EQ(settings.FontName, std::string(63, 'F'));
    EXPECT_EQ(settings.TextDownColor, MakeColorRef(216, 34, 40)) << "missing key keeps its default";
}

TEST(Settings, ColorAndIntegerConversions)
{
    struct Case
    {
        const char* text;
        ColorRef colour;
    };
    const Case colours[] = {
        {"216,34,40", MakeColorRef(216, 34, 40)},
        {"0,0,0", 0},
        {"255,255,255", 0xFFFFFF},
        {"1,2", 0},
        {"1,2,3,4", 0},
        {"256,0,0", 0},
        {"-1,0,0", 0},
        {"a,b,c", 0},
        {"'1,2',3,4", MakeColorRef(0, 3, 4)},
        {"\"1,2\",3", 0},
        {"", 0},
    };
    for (const Case& c : colours)
        EXPECT_EQ(ParseSettingColor(c.text), c.colour) << c.text;

    EXPECT_EQ(ParseSettingInteger("1500ms"), 1500);
    EXPECT_EQ(ParseSettingInteger("  42"), 42);
    EXPECT_EQ(ParseSettingInteger("-7"), -7);
    EXPECT_EQ(ParseSettingInteger("ms"), 0);
    EXPECT_EQ(ParseSettingInteger(""), 0);
    EXPECT_EQ(ParseSettingInteger("99999999999"), 2147483647);
}
