#include "support/operate_character.h"

#include <clocale>

#include <gtest/gtest.h>

#include "support/text_convert.h"

namespace
{

class DeviceText : public ::testing::Test
{
protected:
    void SetUp() override { setlocale(LC_ALL, "C.UTF-8"); }
};

const std::string kZhong = "\xE4\xB8\xAD"; // U+4E2D, three UTF-8 bytes

} // namespace

TEST_F(DeviceText, CutDropsOnlyAnIncompleteTrailingCharacter)
{
    const COperateCharacter character;
    struct Case
    {
        std::string input;
        std::optional<std::string> kept;
    };
    const Case cases[] = {
        {"plain ascii", "plain ascii"},
        {"ab" + kZhong, "ab" + kZhong},
        {"ab" + kZhong.substr(0, 1), "ab"},
        {"ab" + kZhong.substr(0, 2), "ab"},
        {kZhong + kZhong.substr(0, 2), kZhong},
        {"ab\xF0\x9F\x98\x80", "ab\xF0\x9F\x98\x80"},
        {"ab\xF0\x9F\x98", "ab"},
        {"caf\xC3\xA9", "caf\xC3\xA9"},
        {"a\xE4\xB8x", std::nullopt},
        {"x", std::nullopt},
        {"", std::nullopt},
        {"ab\x80zz", "ab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(character.CutIncompleteUtf8(c.input), c.kept) << c.input;
}

TEST_F(DeviceText, DeviceTextToLocal)
{
    EXPECT_EQ(DeviceTextToLocal("Tower-North 7"), "Tower-North 7");
    // 32 bytes whose last character was cut after its first byte.
    std::string ssid;
    while (ssid.size() + 3 <= 31)
        ssid += kZhong;
    ssid += std::string(31 - ssid.size(), 'a');
    ssid += kZhong.substr(0, 1);
    ASSERT_EQ(ssid.size(), 32u);
    EXPECT_EQ(DeviceTextToLocal(ssid), ssid.substr(0, 31));
}

TEST_F(DeviceText, LocalTextToDeviceSendsUtf8OnlyWithAChineseCharacter)
{
    EXPECT_EQ(LocalTextToDevice("Roof AP"), "Roof AP");
    EXPECT_EQ(LocalTextToDevice("AP" + kZhong), "AP" + kZhong);
    EXPECT_EQ(LocalToUtf8("AP" + kZhong), "AP" + kZhong);
}

TEST_F(DeviceText, ChineseCharacterSetAndCount)
{
    const COperateCharacter character;
    for (char16_t inside : {u'\u4E00', u'\u9FA5', u'\u00B7', u'\u3008', u'\u3011', u'\uFF1F', u'\uFFE5', u'\uFF5E'})
        EXPECT_TRUE(IsChineseCharacter(inside)) << static_cast<int>(inside);
    for (char16_t outside : {u'A', u'\u4DFF', u'\u9FA6', u'\u3012', u'\u3013', u'\u00E9', u'\uFF02'})
        EXPECT_FALSE(IsChineseCharacter(outside)) << static_cast<int>(outside);
    EXPECT_EQ(character.CountChineseCharacters(u"AP\u4E2D\u6587-\u3002"), 3u);
    EXPECT_EQ(character.CountChineseCharacters(Utf8ToWide("AP" + kZhong)), 1u);
}

TEST_F(DeviceText, ConversionsKeepGoingOverInvalidBytes)
{
    EXPECT_EQ(Utf8ToWide("a\xFF"
                         "b"),
              u"a\uFFFDb");
    EXPECT_EQ(WideToUtf8(u"\u4E2D"), kZhong);
    EXPECT_EQ(LocalToWide(kZhong), u"\u4E2D");
    EXPECT_EQ(WideToLocal(u"x\u4E2D"), "x" + kZhong);
}
