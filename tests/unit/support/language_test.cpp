#include "support/language.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "common/temp_dir.h"

namespace
{

class LanguageTest : public ::testing::Test
{
protected:
    void WriteLanguages(const std::string& selection, const std::string& name, const std::string& texts)
    {
        WriteTextFile(m_directory.Path() + "Languages/Language.ini", selection);
        WriteTextFile(m_directory.Path() + "Languages/" + name + ".lng", texts);
    }

    CTempDir m_directory;
};

} // namespace

TEST(LanguageLcid, LocaleNamesMapToLcids)
{
    struct Case
    {
        const char* locale;
        uint32_t lcid;
    };
    const Case cases[] = {
        {"zh_CN.UTF-8", 2052}, {"zh_SG", 2052},       {"zh_TW.UTF-8", 1028},
        {"zh_HK.Big5", 1028},  {"en_US.UTF-8", 1033}, {"en_GB", 1033},
        {"de_DE.UTF-8", 1031}, {"fr_FR@euro", 1036},  {"pt_BR.UTF-8", 1046},
        {"pt_PT.UTF-8", 2070}, {"C", 1033},           {"POSIX", 1033},
        {"C.UTF-8", 1033},     {"xx_YY", 1033},       {"", 1033},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LcidFromLocaleName(c.locale), c.lcid) << c.locale;
}

TEST(LanguageLcid, EnvironmentOrderIsLcAllThenLcMessagesThenLang)
{
    setenv("LC_ALL", "", 1);
    setenv("LC_MESSAGES", "zh_TW.UTF-8", 1);
    setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(SystemDefaultLcid(), 1028u);
    setenv("LC_ALL", "zh_CN.UTF-8", 1);
    EXPECT_EQ(SystemDefaultLcid(), 2052u);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    EXPECT_EQ(SystemDefaultLcid(), 1031u);
    setenv("LANG", "C.UTF-8", 1);
}

TEST_F(LanguageTest, LcidWithAnEntryReadsItsLanguageFile)
{
    WriteLanguages("[LCID]\r\n1033=English\r\n2052=Chinese\r\n", "Chinese", "[ProgramOutStr]\r\nsearch=SOUSUO\r\n");
    InitLanguage(m_directory.Path(), 2052);
    EXPECT_EQ(GetCurrentLcid(), 2052u);
    EXPECT_EQ(GetLanguageName(), "Chinese");
    EXPECT_EQ(GetLanguageFilePath(), m_directory.Path() + "Languages/Chinese.lng");
    EXPECT_EQ(LookupText("Search"), "SOUSUO");
}

TEST_F(LanguageTest, LcidWithoutAnEntryFallsBackToEnglish1033)
{
    WriteLanguages("[LCID]\r\n1033=English\r\n", "English", "[ProgramOutStr]\r\nsearch=Find\r\n");
    InitLanguage(m_directory.Path(), 2052);
    EXPECT_EQ(GetCurrentLcid(), 1033u);
    EXPECT_EQ(GetLanguageName(), "English");
    EXPECT_EQ(LookupText("Search"), "Find");

    InitLanguage(m_directory.Path() + "missing/", 1041);
    EXPECT_EQ(GetCurrentLcid(), 1033u);
    EXPECT_EQ(LookupText("Search"), "Search") << "no language file: the key itself";
}

TEST_F(LanguageTest, LookupIgnoresCaseAndReplacesMarkers)
{
    WriteLanguages("[LCID]\r\n1033=English\r\n", "English",
                   "[ProgramOutStr]\r\n"
                   "search=Search now\r\n"
                   "gone=[~NullInfoZelto~]\r\n"
                   "blank=[~Null~]\r\n"
                   "two lines=first\\r\\nsecond\\nthird\r\n"
                   "untranslated=\r\n"
                   "long=" +
                       std::string(1100, 'L') + "\r\n");
    InitLanguage(m_directory.Path(), 1033);
    EXPECT_EQ(LookupText("Search"), "Search now");
    EXPECT_EQ(LookupText("SEARCH"), "Search now");
    EXPECT_EQ(LookupText("search"), "Search now");
    EXPECT_EQ(LookupText("Gone"), "");
    EXPECT_EQ(LookupText("Blank"), " ");
    EXPECT_EQ(LookupText("Two Lines"), "first\r\nsecond\nthird");
    EXPECT_EQ(LookupText("Untranslated"), "Untranslated") << "an empty value means no translation";
    EXPECT_EQ(LookupText("No Such Key"), "No Such Key") << "unchanged, not lower-cased";
    EXPECT_EQ(LookupText("long"), std::string(1022, 'L'));
    EXPECT_EQ(LookupText(""), "");
}

TEST_F(LanguageTest, ChangedFileShowsAtTheNextLookup)
{
    WriteLanguages("[LCID]\r\n1033=English\r\n", "English", "[ProgramOutStr]\r\nsearch=One\r\n");
    InitLanguage(m_directory.Path(), 1033);
    EXPECT_EQ(LookupText("Search"), "One");
    // Same size, so only the modification time tells the change apart.
    WriteTextFile(m_directory.Path() + "Languages/English.lng", "[ProgramOutStr]\r\nsearch=Two\r\n");
    EXPECT_EQ(LookupText("Search"), "Two");
    std::remove((m_directory.Path() + "Languages/English.lng").c_str());
    EXPECT_EQ(LookupText("Search"), "Search");
}

TEST(LanguageShipped, EnglishFileCarriesTheInformationMenuAddresses)
{
    InitLanguage(FIELDMATE_BINARY_DIR "/", 1033);
    for (const char* key : {"Product_url", "Support_url", "Contact_url", "Help_url"})
    {
        const std::string address = LookupText(key);
        EXPECT_EQ(address.rfind("https://", 0), 0u) << key << " -> " << address;
    }
}
