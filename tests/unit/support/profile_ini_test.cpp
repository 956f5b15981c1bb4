#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "support/operate_file_ini.h"
#include "support/profile_file.h"

TEST(ProfileFile, SectionsAndKeysIgnoreCaseFirstMatchWinsValuesTrimmed)
{
    const CProfileFile file = CProfileFile::Parse("\xEF\xBB\xBF[Color]\r\n"
                                                  "  ChildBkColor =  1,2,3  \r\n"
                                                  "childbkcolor=9,9,9\r\n"
                                                  "; comment=ignored\r\n"
                                                  "quoted=\"a, b\"\r\n"
                                                  "[color]\r\n"
                                                  "Other=x\r\n");
    EXPECT_EQ(file.Find("COLOR", "CHILDBKCOLOR"), "1,2,3");
    EXPECT_EQ(file.Find("color", "other"), "x");
    EXPECT_EQ(file.Find("Color", "quoted"), "a, b");
    EXPECT_EQ(file.Find("Color", "; comment"), std::nullopt);
    EXPECT_EQ(file.Find("Font", "ChildBkColor"), std::nullopt);
}

TEST(ProfileFile, ReadCutsToLimitAndFallsBackToDefault)
{
    CTempDir directory;
    const std::string path = directory.Path() + "a.ini";
    WriteTextFile(path, "[S]\nlong=" + std::string(100, 'v') + "\nempty=\n");
    EXPECT_EQ(ReadProfileString(path, "S", "long", "d", 63), std::string(63, 'v'));
    EXPECT_EQ(ReadProfileString(path, "S", "empty", "d", 63), "");
    EXPECT_EQ(ReadProfileString(path, "S", "missing", "d", 63), "d");
    EXPECT_EQ(ReadProfileString(directory.Path() + "none.ini", "S", "long", "d", 63), "d");
}

TEST(OperateFileIni, UpdatesOrAddsOneKeyAndKeepsTheRest)
{
    CTempDir directory;
    const std::string path = directory.Path() + "FileServer.ini";
    WriteTextFile(path, "; settings\r\n[Server]\r\nPort=69\r\nDirectory=/old\r\n\r\n[Other]\r\nx=1\r\n");
    const COperateFileIni ini;

    ASSERT_TRUE(ini.WriteValue("server", "directory", "/srv/fw", path));
    ASSERT_TRUE(ini.WriteValue("Server", "Timeout", "5", path));
    ASSERT_TRUE(ini.WriteValue("New", "Key", "v", path));
    EXPECT_EQ(ReadTextFile(path), "; settings\r\n[Server]\r\nPort=69\r\nDirectory=/srv/fw\r\nTimeout=5\r\n\r\n"
                                  "[Other]\r\nx=1\r\n[New]\r\nKey=v\r\n");

    const std::string fresh = directory.Path() + "fresh.ini";
    ASSERT_TRUE(ini.WriteValue("A", "b", "c", fresh));
    EXPECT_EQ(CProfileFile::Load(fresh).Find("a", "B"), "c");
    EXPECT_FALSE(ini.WriteValue("A", "b", "c", directory.Path() + "no/such/folder/x.ini"));
}
