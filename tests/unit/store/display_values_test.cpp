#include "store/display_values.h"

#include <set>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "support/language.h"

namespace
{

// A language whose entries differ from their keys, so a translated text shows that it was looked up.
class DisplayValues : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteTextFile(m_directory.Path() + "Languages/Language.ini", "[LCID]\r\n1033=Test\r\n");
        WriteTextFile(m_directory.Path() + "Languages/Test.lng",
                      "[ProgramOutStr]\r\nonline=T-Online\r\nupgrade fail=T-Upgrade fail\r\nstation=T-Station\r\n"
                      "router=T-Router\r\nwpa2_psk=T-WPA2_PSK\r\nauto=T-Auto\r\non2=T-On\r\noff2=T-Off\r\n");
        InitLanguage(m_directory.Path(), 1033);
    }

    CTempDir m_directory;
};

} // namespace

TEST_F(DisplayValues, CodeTables)
{
    struct Case
    {
        std::string (*function)(int);
        int code;
        std::string text;
    };
    const Case cases[] = {
        {StatusText, 0, "Outline"},
        {StatusText, 1, "T-Online"},
        {StatusText, 5, "Reseting"},
        {StatusText, 9, "T-Upgrade fail"},
        {StatusText, 10, ""},
        {StatusText, -1, ""},
        {WorkModeText, 0, ""},
        {WorkModeText, 1, "AP"},
        {WorkModeText, 2, "T-Station"},
        {WorkModeText, 3, "Universal Repeater"},
        {WorkModeText, 7, "T-Router"},
        {WorkModeText, 8, ""},
        {SecurityText, 0, "Disable"},
        {SecurityText, 3, "T-WPA2_PSK"},
        {SecurityText, 4, "WPAWPA2_PSK"},
        {SecurityText, 6, "WPA2"},
        {SecurityText, 7, ""},
        {SecurityText, -3, ""},
        {ChannelText, 0, "T-Auto"},
        {ChannelText, 149, "149"},
        {ChannelText, 1, "1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.function(c.code), c.text) << c.code;
}

TEST_F(DisplayValues, TransparentBridgeAndTdma)
{
    struct BridgeCase
    {
        int model;
        int workMode;
        int flag;
        std::string text;
    };
    const BridgeCase bridgeCases[] = {
        {1, 2, 1, "T-On"}, {1, 2, 0, "T-Off"}, {1, 6, 1, "N/A"},    {1, 4, 1, "N/A"},
        {1, 5, 0, "N/A"},  {1, 7, 1, "N/A"},   {1, 1, 7, "T-On"},   {1, 3, 0, "T-Off"},
        {4, 2, 1, "N/A"},  {261, 1, 0, "N/A"}, {262, 0, 1, "T-On"},
    };
    for (const BridgeCase& c : bridgeCases)
        EXPECT_EQ(TransparentBridgeText(c.model, c.workMode, c.flag), c.text) << c.model << " " << c.workMode;

    const std::set<int> tdmaCapable = {6,   8,   9,   10,  11,  14,  15,  18,  265, 266,
                                       267, 268, 269, 270, 272, 273, 274, 277, 278};
    for (const ModelEntry& model : ModelTable())
    {
        const bool capable = tdmaCapable.count(model.code) > 0;
        EXPECT_EQ(TdmaText(model.code, 1), capable ? "T-On" : "N/A") << model.code;
        EXPECT_EQ(TdmaText(model.code, 0), capable ? "T-Off" : "N/A") << model.code;
    }
    EXPECT_EQ(TdmaText(7, 1), "N/A");
    EXPECT_EQ(TdmaText(6, 0), "T-Off");
}

TEST(ModelTable, FortyUniqueShortLabelsInTwoRanges)
{
    std::set<int> codes;
    std::set<std::string_view> labels;
    for (const ModelEntry& model : ModelTable())
    {
        codes.insert(model.code);
        labels.insert(model.label);
        EXPECT_LE(model.label.size(), 12u) << model.label;
        EXPECT_FALSE(model.label.empty());
        EXPECT_EQ(ModelLabel(model.code), model.label);
        EXPECT_EQ(ModelCode(model.label), model.code);
    }
    std::set<int> expected;
    for (int code = 1; code <= 18; ++code)
        expected.insert(code);
    for (int code = 257; code <= 278; ++code)
        expected.insert(code);
    EXPECT_EQ(codes, expected);
    EXPECT_EQ(labels.size(), 40u);
}

TEST(ModelTable, UnknownCodesAndLabelsFallBackToCodeOne)
{
    const std::string first = ModelLabel(1);
    for (int code : {0, 19, 256, 279, -1, 65535})
        EXPECT_EQ(ModelLabel(code), first) << code;
    EXPECT_EQ(ModelCode(""), 1);
    EXPECT_EQ(ModelCode("no such model"), 1);
    const std::string label = ModelLabel(270);
    std::string lower = label;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    ASSERT_NE(lower, label);
    EXPECT_EQ(ModelCode(lower), 1) << "labels match case-sensitively";
    EXPECT_EQ(ModelCode(label + " "), 1);
}

TEST(UpTime, DaysOnlyWhenThereAreAny)
{
    struct Case
    {
        uint32_t seconds;
        const char* text;
    };
    const Case cases[] = {
        {0, "0:0:0"},
        {59, "0:0:59"},
        {3725, "1:2:5"},
        {86399, "23:59:59"},
        {86400, "1 0:0:0"},
        {86400 + 3661, "1 1:1:1"},
        {4294967295u, "49710 6:28:15"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UpTimeText(c.seconds), c.text) << c.seconds;
}
