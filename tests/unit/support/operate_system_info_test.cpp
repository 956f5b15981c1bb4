#include "support/operate_system_info.h"

#include <filesystem>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "common/wait_for.h"

namespace
{

// Starts a copy of sleep under a name no other process has.
pid_t StartSleeper(const std::string& path)
{
    const pid_t child = fork();
    if (child == 0)
    {
        execl(path.c_str(), path.c_str(), "30", static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

bool Reaped(pid_t child)
{
    int status = 0;
    return waitpid(child, &status, WNOHANG) == child;
}

} // namespace

TEST(OperateSystemInfo, EndsEveryProcessOfTheName)
{
    CTempDir directory;
    const std::string name = "fm-sleeper-" + std::to_string(getpid());
    const std::string path = directory.Path() + name;
    std::filesystem::copy_file("/bin/sleep", path);
    const pid_t first = StartSleeper(path);
    const pid_t second = StartSleeper(path);
    const COperateSystemInfo system;
    ASSERT_TRUE(WaitFor([&] { return system.FindProcessByName(name).has_value(); }, std::chrono::seconds(5)));
    EXPECT_FALSE(system.FindProcessByName(name.substr(0, name.size() - 1)).has_value()) << "names match exactly";

    system.EndAllProcessesByName(name);
    EXPECT_FALSE(system.FindProcessByName(name).has_value());
    EXPECT_TRUE(WaitFor([&] { return Reaped(first); }, std::chrono::seconds(5)));
    EXPECT_TRUE(WaitFor([&] { return Reaped(second); }, std::chrono::seconds(5)));
}

TEST(OperateSystemInfo, StartProgramRunsInTheProgramsFolderAndWaits)
{
    CTempDir directory;
    const std::string script = directory.Path() + "make-marker.sh";
    WriteTextFile(script, "#!/bin/sh\ntouch \"$1\"\npwd > where.txt\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const COperateSystemInfo system;
    if (system.NeedsElevation())
        GTEST_SKIP() << "not root: the start would go through pkexec";
    ASSERT_TRUE(system.StartProgram(script, "marker", true));
    EXPECT_TRUE(std::filesystem::exists(directory.Path() + "marker"));
    EXPECT_EQ(ReadTextFile(directory.Path() + "where.txt"),
              directory.Path().substr(0, directory.Path().size() - 1) + "\n");
    EXPECT_FALSE(system.StartProgram(directory.Path() + "missing", "", true));
}
