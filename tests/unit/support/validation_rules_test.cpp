#include "support/validation_rules.h"

#include <gtest/gtest.h>

namespace
{

// Ten different characters of the Chinese set, three UTF-8 bytes each.
const std::u16string kChinese10 = u"\u4E2D\u6587\u540D\u79F0\u5929\u7EBF\u5C4B\u9876\u5317\u5854";

} // namespace

TEST(AddressRules, IpAddress)
{
    struct Case
    {
        const char* address;
        bool unsetAllowed;
        bool valid;
    };
    const Case cases[] = {
        {"10.0.0.1", false, true},    {"192.168.1.129", false, true}, {"223.255.255.254", false, true},
        {"10.1.255.1", false, true}, // broadcast-looking inner byte: only the last byte counts
        {"", false, false},           {"0.0.0.0", false, false},      {"", true, true},
        {"0.0.0.0", true, true},      {"127.0.0.1", false, false},    {"224.0.0.1", false, false},
        {"255.1.1.1", false, false},  {"0.1.2.3", false, false},      {"10.0.0.0", false, false},
        {"10.0.0.255", false, false}, {"10.0.1.255", false, false},   {"10.0.0", false, false},
        {"10.0.0.1.5", false, false}, {"10.0.0.256", false, false},   {"10.0.0.x", false, false},
        {"10..0.1", false, false},    {"10.0.0.01", false, false},    {" 10.0.0.1", false, false},
        {"-1.0.0.1", false, false},   {"1000.0.0.1", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidIpAddress(c.address, c.unsetAllowed), c.valid) << c.address << " " << c.unsetAllowed;
}

TEST(AddressRules, SubnetMaskAcceptsExactlyTheContiguousMasksOfPrefix1To31)
{
    for (int prefix = 0; prefix <= 32; ++prefix)
    {
        const uint32_t mask = prefix == 0 ? 0 : ~0u << (32 - prefix);
        const std::string text = std::to_string(mask >> 24) + "." + std::to_string((mask >> 16) & 0xFF) + "." +
                                 std::to_string((mask >> 8) & 0xFF) + "." + std::to_string(mask & 0xFF);
        EXPECT_EQ(IsValidSubnetMask(text), prefix >= 1 && prefix <= 31) << text;
    }
    for (const char* invalid : {"255.0.255.0", "255.255.255.1", "0.255.255.255", "255.255.0", "255.255.255.0.0",
                                "255x255.255.0", "255.255.255.0 ", "", "255.255.255.00", "abc"})
        EXPECT_FALSE(IsValidSubnetMask(invalid)) << invalid;
}

TEST(AddressRules, SubnetHelpersAndDns)
{
    const AddressBytes mask = {255, 255, 255, 128};
    EXPECT_TRUE(IsSameSubnet({192, 168, 1, 129}, {192, 168, 1, 254}, mask));
    EXPECT_FALSE(IsSameSubnet({192, 168, 1, 129}, {192, 168, 1, 1}, mask));
    EXPECT_TRUE(IsSameSubnet({10, 1, 2, 3}, {99, 9, 9, 9}, {0, 0, 0, 0}));
    EXPECT_EQ(NetworkAddressOf({192, 168, 1, 129}, mask), "192.168.1.128");
    EXPECT_EQ(NetworkAddressOf({10, 200, 3, 4}, {255, 0, 0, 0}), "10.0.0.0");

    struct Case
    {
        const char* dns1;
        const char* dns2;
        bool distinct;
    };
    const Case cases[] = {
        {"8.8.8.8", "8.8.8.8", false},
        {"8.8.8.8", "8.8.4.4", true},
        {"8.8.8.8", "", true},
        {"8.8.8.8", "0.0.0.0", true},
        {"", "", true},
        {"0.0.0.0", "0.0.0.0", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AreDnsServersDistinct(c.dns1, c.dns2), c.distinct) << c.dns1 << " / " << c.dns2;
}

TEST(TextRules, NameSetsAndByteLength)
{
    struct Case
    {
        std::u16string text;
        bool restricted;
        bool open;
    };
    const Case cases[] = {
        {kChinese10, true, true},                             // 30 bytes
        {kChinese10 + u"ab", true, true},                     // 32 bytes
        {kChinese10 + u"abc", false, false},                  // 33 bytes
        {kChinese10 + kChinese10.substr(0, 6), false, false}, // 16 characters, 48 bytes
        {std::u16string(32, u'a'), true, true},
        {std::u16string(33, u'a'), false, false},
        {u"Tower-7_east.b", true, true},
        {u"tower 7", false, true},
        {u"tower,7", false, true},
        {u"tower:7", false, true},
        {u"a'b", false, true},
        {u"a\"b[c]{d}|e;f`g\\h", false, true},
        {u"!#$%&()*+-./<=>?@^_~", true, true},
        {u"caf\u00E9", false, false}, // Latin letters beyond ASCII are in neither set
        {u"\u00B7\u3001\uFF01", true, true},
        {u"\u20AC", false, false},
        {std::u16string(1, u'\0'), false, false},
        {u"", true, true},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(MatchesRestrictedNameSet(c.text), c.restricted) << c.text.size();
        EXPECT_EQ(MatchesOpenNameSet(c.text), c.open) << c.text.size();
    }
    for (int type : {4, 17, 261, 276})
        EXPECT_TRUE(UsesRestrictedNameSet(type)) << type;
    for (int type : {0, 1, 5, 16, 260, 277})
        EXPECT_FALSE(UsesRestrictedNameSet(type)) << type;
}

TEST(TextRules, Utf8LengthAndCut)
{
    EXPECT_EQ(Utf8ByteLength(u""), 0u);
    EXPECT_EQ(Utf8ByteLength(u"a\u00E9\u4E2D"), 1u + 2u + 3u);
    EXPECT_EQ(Utf8ByteLength(u"\U0001F600"), 4u) << "a surrogate pair is one 4-byte character";
    EXPECT_EQ(Utf8ByteLength(std::u16string(1, char16_t(0xD800))), 3u);

    struct Case
    {
        std::u16string text;
        size_t limit;
        std::u16string kept;
    };
    const Case cases[] = {
        {u"abc", 32, u"abc"},
        {std::u16string(40, u'x'), 32, std::u16string(32, u'x')},
        {kChinese10 + kChinese10, 32, kChinese10},
        {u"ab" + kChinese10, 4, u"ab"},
        {u"ab" + kChinese10, 5, u"ab\u4E2D"},
        {u"a\U0001F600", 4, u"a"},
        {u"a\U0001F600", 5, u"a\U0001F600"},
        {u"abc", 0, u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CutToUtf8Bytes(c.text, c.limit), c.kept) << c.limit;
}

TEST(TextRules, CharacterClassesAndNumbers)
{
    EXPECT_TRUE(IsNotBlank(u"a"));
    EXPECT_TRUE(IsNotBlank(u"  x "));
    EXPECT_TRUE(IsNotBlank(u"\t"));
    EXPECT_FALSE(IsNotBlank(u"   "));
    EXPECT_FALSE(IsNotBlank(u""));

    EXPECT_TRUE(IsHexText(u""));
    EXPECT_TRUE(IsHexText(u"0123456789abcdefABCDEF"));
    EXPECT_FALSE(IsHexText(u"0123g"));
    EXPECT_FALSE(IsHexText(u"12 34"));

    EXPECT_TRUE(IsAsciiText(u""));
    EXPECT_TRUE(IsAsciiText(u"any ~ ASCII \x7F"));
    EXPECT_FALSE(IsAsciiText(u"\u0080"));
    EXPECT_FALSE(IsAsciiText(u"key\u4E2D"));

    struct Case
    {
        std::u16string text;
        int64_t value;
    };
    const Case cases[] = {
        {u"", 0},       {u"abc", 0},       {u"60", 60},
        {u"00060", 60}, {u" 42", 42},      {u"12ab", 12},
        {u"-5", 0},     {u"99999", 99999}, {u"99999999999999999999999", INT64_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadDecimalNumber(c.text), c.value) << c.text.size();
}
