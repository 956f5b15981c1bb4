#include "support/validation_checks.h"

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "support/language.h"

// Readable failures in test output.
void PrintTo(const ValidationFailure& failure, std::ostream* out)
{
    *out << '"' << failure.messageKey << "\" box " << static_cast<int>(failure.box) << " focus "
         << static_cast<int>(failure.focus) << " arguments " << testing::PrintToString(failure.arguments);
}

namespace
{

// The key of the first failing check, or "" when every check passes.
std::string KeyOf(const ValidationResult& result)
{
    return result ? result->messageKey : std::string();
}

const char* const kIpInvalid = "The ip address is invalid!";
const char* const kMaskInvalid = "The subnet mask is invalid!";
const char* const kGatewayInvalid = "The gateway address is invalid!";
const char* const kSameAsGateway = "The ip address and gateway address cannot be the same!";
const char* const kNetworkSegment = "IP Address can't be the network segment!";
const char* const kOtherSubnet = "Ip address and gateway address is not in the same subnet!";
const char* const kDns1Invalid = "The primary DNS Server is invalid!";
const char* const kDns2Invalid = "The secondary DNS Server is invalid!";
const char* const kDnsSame = "Primary DNS Server and Secondary DNS Server can't be the same!";

const std::u16string kChinese10 = u"\u4E2D\u6587\u540D\u79F0\u5929\u7EBF\u5C4B\u9876\u5317\u5854";

} // namespace

TEST(IpSettingsCheck, FirstFailingStepInOrder)
{
    struct Case
    {
        const char* address;
        const char* mask;
        const char* gateway;
        const char* dns1;
        const char* dns2;
        std::string key;
    };
    const Case cases[] = {
        {"10.0.0.1", "255.0.0.0", "10.0.0.254", "8.8.8.8", "8.8.4.4", ""},
        {"10.0.0.1", "255.0.0.0", "0.0.0.0", "0.0.0.0", "", ""},
        {"10.0.0.1", "255.0.0.0", "", "", "", ""},
        {"0.0.0.0", "255.0.0.0", "", "", "", kIpInvalid},
        {"", "255.0.0.0", "", "", "", kIpInvalid},
        {"10.0.0.0", "255.0.0.0", "", "", "", kIpInvalid},
        {"127.0.0.1", "255.0.0.0", "", "", "", kIpInvalid},
        {"224.0.0.1", "255.0.0.0", "", "", "", kIpInvalid},
        {"0.1.2.3", "255.0.0.0", "", "", "", kIpInvalid},
        {"10.0.0.1", "255.255.255.255", "", "", "", kMaskInvalid},
        {"10.0.0.1", "0.0.0.0", "", "", "", kMaskInvalid},
        {"10.0.0.1", "255.0.255.0", "", "", "", kMaskInvalid},
        {"10.0.0.1", "255.0.0.0", "10.0.0.255", "", "", kGatewayInvalid},
        {"10.0.0.1", "255.0.0.0", "10.0.0.1", "", "", kSameAsGateway},
        {"192.168.1.128", "255.255.255.128", "", "", "", kNetworkSegment},
        {"192.168.1.129", "255.255.255.128", "", "", "", ""},
        {"192.168.1.129", "255.255.255.128", "192.168.1.1", "", "", kOtherSubnet},
        {"192.168.1.129", "255.255.255.128", "192.168.1.254", "", "", ""},
        {"10.0.0.1", "255.0.0.0", "", "127.0.0.1", "", kDns1Invalid},
        {"10.0.0.1", "255.0.0.0", "", "8.8.8.8", "8.8.8.0", kDns2Invalid},
        {"10.0.0.1", "255.0.0.0", "", "8.8.8.8", "8.8.8.8", kDnsSame},
        {"10.0.0.1", "255.0.0.0", "", "8.8.8.8", "0.0.0.0", ""},
        {"10.0.0.1", "255.0.0.0", "", "", "8.8.8.8", ""},
    };
    for (const Case& c : cases)
    {
        const ValidationResult result = CheckIpSettings(c.address, c.mask, c.gateway, c.dns1, c.dns2);
        EXPECT_EQ(KeyOf(result), c.key) << c.address << " " << c.mask << " gw " << c.gateway;
        if (result)
        {
            EXPECT_EQ(result->box, MessageBoxKind::Plain);
            EXPECT_EQ(result->focus, ValidationFocus::None);
        }
    }
}

TEST(NameAndSsidCheck, ByModelCode)
{
    const std::string nameEmpty = "The device name can not be empty!";
    const std::string nameRestricted = "Device name maximum allowed 32 bytes, only support combination of Chinese, "
                                       "lowercase letters, 0-9 numbers";
    const std::string nameOpen =
        "Device name maximum allowed 32 bytes, only support combination of Chinese, ASCII characters";
    struct Case
    {
        std::u16string name;
        int type;
        std::string key;
    };
    const Case cases[] = {
        {u"", 1, nameEmpty},
        {u"", 4, nameEmpty},
        {u"roof-ap_1.b", 4, ""},
        {u"roof ap", 4, nameRestricted},
        {u"roof,ap", 17, nameRestricted},
        {u"roof:ap", 261, nameRestricted},
        {u"roof:ap", 276, nameRestricted},
        {u"roof ap", 1, ""},
        {u"roof,ap", 5, ""},
        {u"roof:ap", 278, ""},
        {kChinese10, 1, ""},
        {kChinese10 + kChinese10.substr(0, 6), 1, nameOpen},
        {kChinese10 + kChinese10.substr(0, 6), 4, nameRestricted},
        {std::u16string(32, u'n'), 1, ""},
        {std::u16string(33, u'n'), 1, nameOpen},
        {u"caf\u00E9", 1, nameOpen},
    };
    for (const Case& c : cases)
    {
        const ValidationResult result = CheckDeviceName(c.name, c.type);
        EXPECT_EQ(KeyOf(result), c.key) << c.type << " " << c.name.size();
        if (result)
        {
            EXPECT_EQ(result->box, MessageBoxKind::Warning);
            EXPECT_EQ(result->focus, ValidationFocus::Name);
        }
    }

    const std::string ssidRestricted =
        "SSID maximum allowed 32 bytes, only support combination of Chinese, lowercase letters, 0-9 numbers";
    const std::string ssidOpen = "SSID maximum allowed 32 bytes, only support combination of Chinese, ASCII characters";
    const Case ssidCases[] = {
        {u"", 1, "The ssid can not be empty!"},
        {u"   ", 1, "Please enter 1 to 32 byte ASCII charaters or chinese characters!"},
        {u"   ", 4, "Please enter 1 to 32 byte ASCII charaters or chinese characters!"},
        {u"yard net", 4, ssidRestricted},
        {u"yard net", 1, ""},
        {std::u16string(33, u's'), 1, ssidOpen},
        {kChinese10 + u"xy", 276, ""},
    };
    for (const Case& c : ssidCases)
    {
        const ValidationResult result = CheckSsid(c.name, c.type);
        EXPECT_EQ(KeyOf(result), c.key) << c.type << " " << c.name.size();
        if (result)
        {
            EXPECT_EQ(result->box, MessageBoxKind::Warning);
            EXPECT_EQ(result->focus, ValidationFocus::Ssid);
        }
    }
}

TEST(TxPowerCheck, RangeIncludesBothEnds)
{
    const ValidationFailure expected{
        "Power value range:%d-%d", MessageBoxKind::Warning, ValidationFocus::Power, {5, 27}};
    EXPECT_FALSE(CheckTxPower(u"5", 5, 27));
    EXPECT_FALSE(CheckTxPower(u"27", 5, 27));
    EXPECT_EQ(CheckTxPower(u"4", 5, 27), expected);
    EXPECT_EQ(CheckTxPower(u"28", 5, 27), expected);
    EXPECT_EQ(CheckTxPower(u"", 5, 27), expected);
    EXPECT_EQ(CheckTxPower(u"abc", 5, 27), expected) << "no digits read as 0";
    EXPECT_FALSE(CheckTxPower(u"abc", 0, 27)) << "no digits read as 0";
    EXPECT_EQ(KeyOf(CheckTxPower(u"", 0, 27)), expected.messageKey) << "empty fails even when 0 is in range";
    EXPECT_EQ(CheckTxPower(u"99999999999999999999", 5, 27), expected);
}

TEST(SecurityCheck, PreSharedKey)
{
    const std::string keyMessage = "Please enter a key for 8~63 ASCII characters or 8~64 HEX characters!";
    const std::string intervalEmpty = "The key update interval should not be empty!";
    const std::string intervalRange = "The key update interval range: 60~99999 or 0!";
    struct Case
    {
        std::u16string key;
        std::u16string interval;
        std::string message;
        ValidationFocus focus;
    };
    const std::u16string hex64(64, u'a');
    const Case cases[] = {
        {hex64, u"0", "", ValidationFocus::None},
        {std::u16string(63, u'a') + u"g", u"0", keyMessage, ValidationFocus::None},
        {u"any ascii ~!@# key with spaces and 63 characters in total......", u"3600", "", ValidationFocus::None},
        {std::u16string(7, u'k'), u"0", keyMessage, ValidationFocus::None},
        {std::u16string(65, u'a'), u"0", keyMessage, ValidationFocus::None},
        {std::u16string(8, u'k'), u"0", "", ValidationFocus::None},
        {u"password\u4E2D", u"0", keyMessage, ValidationFocus::None},
        {std::u16string(8, u'k'), u"", intervalEmpty, ValidationFocus::KeyInterval},
        {std::u16string(8, u'k'), u"60", "", ValidationFocus::None},
        {std::u16string(8, u'k'), u"99999", "", ValidationFocus::None},
        {std::u16string(8, u'k'), u"59", intervalRange, ValidationFocus::KeyInterval},
        {std::u16string(8, u'k'), u"100000", intervalRange, ValidationFocus::KeyInterval},
        {std::u16string(8, u'k'), u"1", intervalRange, ValidationFocus::KeyInterval},
    };
    for (const Case& c : cases)
    {
        const ValidationResult result = CheckPreSharedKey(c.key, c.interval);
        EXPECT_EQ(KeyOf(result), c.message) << c.key.size() << " / " << c.interval.size();
        if (result)
        {
            EXPECT_EQ(result->box, MessageBoxKind::Warning);
            EXPECT_EQ(result->focus, c.focus);
        }
    }
    ASSERT_EQ(std::u16string(u"any ascii ~!@# key with spaces and 63 characters in total......").size(), 63u);
}

TEST(SecurityCheck, Radius)
{
    const std::string server = "Please enter a valid RADIUS Server address!";
    const std::string port = "Please specify a valid RADIUS Port!";
    const std::string key = "Please enter a key for 1~64 ASCII characters!";
    struct Case
    {
        const char* address;
        std::u16string port;
        std::u16string key;
        std::u16string interval;
        std::string message;
    };
    const Case cases[] = {
        {"10.77.0.2", u"1812", u"secret", u"0", ""},
        {"0.0.0.0", u"1812", u"secret", u"0", server},
        {"", u"1812", u"secret", u"0", server},
        {"127.0.0.1", u"1812", u"secret", u"0", server},
        {"224.0.0.5", u"1812", u"secret", u"0", server},
        {"10.77.0.0", u"1812", u"secret", u"0", server},
        {"10.77.0.255", u"1812", u"secret", u"0", server},
        {"10.77.0.2", u"", u"secret", u"0", port},
        {"10.77.0.2", u"0", u"secret", u"0", port},
        {"10.77.0.2", u"65536", u"secret", u"0", port},
        {"10.77.0.2", u"65535", u"secret", u"0", ""},
        {"10.77.0.2", u"1", u"secret", u"0", ""},
        {"10.77.0.2", u"1812", u"", u"0", key},
        {"10.77.0.2", u"1812", std::u16string(64, u'r'), u"0", ""},
        {"10.77.0.2", u"1812", std::u16string(65, u'r'), u"0", key},
        {"10.77.0.2", u"1812", u"s\u00E9cret", u"0", key},
        {"10.77.0.2", u"1812", u"secret", u"", "The key update interval should not be empty!"},
        {"10.77.0.2", u"1812", u"secret", u"59", "The key update interval range: 60~99999 or 0!"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyOf(CheckRadius(c.address, c.port, c.key, c.interval)), c.message) << c.address;

    EXPECT_EQ(CheckRadius("10.77.0.2", u"1812", u"secret", u"")->focus, ValidationFocus::None);
    EXPECT_EQ(CheckRadius("10.77.0.2", u"1812", u"secret", u"100000")->focus, ValidationFocus::RadiusInterval);
    EXPECT_EQ(CheckRadius("0.0.0.0", u"1812", u"secret", u"0")->box, MessageBoxKind::Warning);
}

TEST(SecurityCheck, WepKeys)
{
    const std::string hexMessage = "WEP key is invalid! Please enter 10 or 26 HEX characters!";
    const std::string asciiLength = "WEP key is invalid! Please enter 5 or 13 ASCII characters!";
    const std::string asciiChars =
        "WEP key includes invalid characters (It should only include 0-9,a-z,A-Z,@,*,- and _.)!";
    struct Case
    {
        std::array<WepKeyInput, 4> keys;
        int defaultKey;
        std::string message;
    };
    const Case cases[] = {
        {{{{u"a b;!", 0}, {}, {}, {}}}, 1, ""},
        {{{{u"0123456789", 1}, {}, {}, {}}}, 1, ""},
        {{{{u"0123456789abcdef0123456789", 1}, {}, {}, {}}}, 1, ""},
        {{{{u"012345678g", 1}, {}, {}, {}}}, 1, hexMessage},
        {{{{u"012345678", 1}, {}, {}, {}}}, 1, hexMessage},
        {{{{u"abcdef", 0}, {}, {}, {}}}, 1, asciiLength},
        {{{{u"13-characters", 0}, {}, {}, {}}}, 1, ""},
        {{{{u"ab\u00E9cd", 0}, {}, {}, {}}}, 1, asciiChars},
        {{{{u"abcde", 0}, {u"bad", 0}, {}, {}}}, 1, asciiLength},
        {{{{u"bad", 0}, {u"012345678g", 1}, {}, {}}}, 2, asciiLength},
        {{{{u"abcde", 0}, {}, {}, {}}}, 2, "Please enter the WEP key2!"},
        {{{{u"abcde", 0}, {}, {}, {}}}, 3, "Please enter the WEP key3!"},
        {{{{}, {}, {}, {u"abcde", 0}}}, 1, "Please enter the WEP key1!"},
        {{{{u"abcde", 0}, {}, {}, {}}}, 4, "Please enter the WEP key4!"},
        {{{{}, {u"0123456789", 1}, {}, {u"abcde", 0}}}, 4, ""},
    };
    for (const Case& c : cases)
    {
        const ValidationResult result = CheckWepKeys(c.keys, c.defaultKey);
        EXPECT_EQ(KeyOf(result), c.message) << c.defaultKey;
        if (result)
        {
            EXPECT_EQ(result->box, MessageBoxKind::TitledWarning);
        }
    }
}

TEST(ValidationMessage, TranslatedAndFilledAfterTheLookup)
{
    CTempDir directory;
    WriteTextFile(directory.Path() + "Languages/Language.ini", "[LCID]\r\n1033=Test\r\n");
    WriteTextFile(directory.Path() + "Languages/Test.lng",
                  "[ProgramOutStr]\r\npower value range:%d-%d=Power from %d to %d dBm (100%%, %s)\r\n"
                  "the ssid can not be empty!=Enter an SSID.\r\n");
    InitLanguage(directory.Path(), 1033);

    EXPECT_EQ(ValidationMessageText(*CheckTxPower(u"40", 3, 27)), "Power from 3 to 27 dBm (100%, %s)");
    EXPECT_EQ(ValidationMessageText(*CheckSsid(u"", 1)), "Enter an SSID.");
    EXPECT_EQ(ValidationMessageText(*CheckIpSettings("", "", "", "", "")), "The ip address is invalid!");
    const ValidationFailure tooFew{"Power value range:%d-%d", MessageBoxKind::Warning, ValidationFocus::Power, {3}};
    EXPECT_EQ(ValidationMessageText(tooFew), "Power from 3 to %d dBm (100%, %s)");
}
