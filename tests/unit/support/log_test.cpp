#include "support/log.h"

#include <regex>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "common/program_dir_copy.h"
#include "common/temp_dir.h"

namespace
{

std::vector<std::string> SplitCrlfLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start))
    {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last line end";
    return lines;
}

std::string LogText(const CTempDir& directory)
{
    const std::vector<std::string> files = ListLogFiles(directory.Path());
    EXPECT_EQ(files.size(), 1u);
    return files.empty() ? std::string() : ReadTextFile(files[0]);
}

} // namespace

TEST(Log, LineCarriesTimeLevelThreadLocationAndMessage)
{
    CTempDir directory;
    ASSERT_TRUE(OpenLog(directory.Path()));
    const int errorLine = __LINE__ + 1;
    EXPECT_TRUE(LOG_ERROR("socket bind fail %d", 9785));
    EXPECT_TRUE(WriteLog("int Sample(int)", 7, 12, "level %d", 7));
    EXPECT_TRUE(LOG_INFO("%s", "text with %s and %d inside"));

    const std::vector<std::string> files = ListLogFiles(directory.Path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(std::regex_search(files[0], std::regex("/Logs/[0-9]{14}\\.log$"))) << files[0];

    const std::vector<std::string> lines = SplitCrlfLines(ReadTextFile(files[0]));
    ASSERT_EQ(lines.size(), 3u);
    const std::regex format("\\[[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}:[0-9]{4}\\]"
                            "\\[(INFO|ERROR)\\]\\[ThreadID: ([0-9]+)\\]\\[(.+):([0-9]+)\\](.*)");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[0], match, format)) << lines[0];
    EXPECT_EQ(match[1], "ERROR");
    EXPECT_EQ(match[2], std::to_string(gettid()));
    EXPECT_NE(match[3].str().find("Log_LineCarriesTimeLevelThreadLocationAndMessage_Test::TestBody()"),
              std::string::npos)
        << match[3];
    EXPECT_EQ(match[4], std::to_string(errorLine));
    EXPECT_EQ(match[5], "socket bind fail 9785");

    ASSERT_TRUE(std::regex_match(lines[1], match, format)) << lines[1];
    EXPECT_EQ(match[1], "INFO") << "any level but 1 is information";
    EXPECT_EQ(match[3], "int Sample(int)");
    EXPECT_EQ(match[4], "12");

    ASSERT_TRUE(std::regex_match(lines[2], match, format)) << lines[2];
    EXPECT_EQ(match[5], "text with %s and %d inside");
}

TEST(Log, LogsThatIsAPlainFileTurnsLoggingOff)
{
    CTempDir directory;
    WriteTextFile(directory.Path() + "Logs", "not a folder");
    EXPECT_FALSE(OpenLog(directory.Path()));
    EXPECT_FALSE(LOG_INFO("lost"));
    EXPECT_EQ(CurrentLogPath(), "");
    EXPECT_EQ(ReadTextFile(directory.Path() + "Logs"), "not a folder");
}

TEST(Log, ExistingFileNameTurnsLoggingOffAndLeavesTheFileAlone)
{
    CTempDir directory;
    // Names for this second and the next few are taken, as by a run started in the same second.
    const time_t now = time(nullptr);
    std::vector<std::string> taken;
    for (time_t second = now; second < now + 3; ++second)
    {
        tm local{};
        localtime_r(&second, &local);
        char name[32];
        strftime(name, sizeof(name), "%Y%m%d%H%M%S.log", &local);
        taken.push_back(directory.Path() + "Logs/" + name);
        WriteTextFile(taken.back(), "earlier run\r\n");
    }
    EXPECT_FALSE(OpenLog(directory.Path()));
    EXPECT_FALSE(LOG_INFO("second run"));
    for (const std::string& path : taken)
        EXPECT_EQ(ReadTextFile(path), "earlier run\r\n");
}

TEST(Log, LinesFromManyThreadsStayWhole)
{
    CTempDir directory;
    ASSERT_TRUE(OpenLog(directory.Path()));
    const std::string payload(300, 'x');
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back(
            [&payload, t]
            {
                for (int i = 0; i < 200; ++i)
                    LOG_INFO("%d:%d:%s", t, i, payload.c_str());
            });
    for (std::thread& thread : threads)
        thread.join();

    const std::vector<std::string> lines = SplitCrlfLines(LogText(directory));
    ASSERT_EQ(lines.size(), 1600u);
    std::set<std::string> seen;
    for (const std::string& line : lines)
    {
        const size_t end = line.rfind(':' + payload);
        ASSERT_NE(end, std::string::npos) << line;
        ASSERT_EQ(end + 1 + payload.size(), line.size()) << line;
        seen.insert(line.substr(line.rfind(']') + 1, end - line.rfind(']') - 1));
    }
    EXPECT_EQ(seen.size(), 1600u);
}
