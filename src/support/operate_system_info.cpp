#include "support/operate_system_info.h"

#include <chrono>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{

constexpr int kCodeLaterSystem = 13;
constexpr int kCodeNoElevation = 3;

std::string BaseName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The executable's file name of a process, or empty for zombies, kernel threads and processes
// that are gone. Falls back to argv[0] when /proc/<pid>/exe cannot be read (another user's process).
std::string ExecutableName(pid_t pid)
{
    const std::string base = "/proc/" + std::to_string(pid);
    std::ifstream stat(base + "/stat");
    std::string statLine;
    std::getline(stat, statLine);
    const size_t close = statLine.rfind(')');
    if (close == std::string::npos || close + 2 >= statLine.size() || statLine[close + 2] == 'Z')
        return {};

    char target[PATH_MAX] = {};
    const ssize_t length = readlink((base + "/exe").c_str(), target, sizeof(target) - 1);
    if (length > 0)
    {
        std::string path(target, static_cast<size_t>(length));
        const std::string deleted = " (deleted)";
        if (path.size() > deleted.size() && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
            path.resize(path.size() - deleted.size());
        return BaseName(path);
    }
    std::ifstream commandLine(base + "/cmdline", std::ios::binary);
    std::string first;
    std::getline(commandLine, first, '\0');
    return BaseName(first);
}

bool ProcessIsGone(pid_t pid)
{
    return ExecutableName(pid).empty();
}

bool FileIsExecutable(const std::string& path)
{
    return access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> FindInPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':'))
        if (!folder.empty() && FileIsExecutable(folder + "/" + program))
            return folder + "/" + program;
    return std::nullopt;
}

std::vector<std::string> SplitParameters(const std::string& parameters)
{
    std::vector<std::string> words;
    std::istringstream stream(parameters);
    std::string word;
    while (stream >> word)
        words.push_back(word);
    return words;
}

struct SpawnFileActions
{
    posix_spawn_file_actions_t actions;
    SpawnFileActions() { posix_spawn_file_actions_init(&actions); }
    ~SpawnFileActions() { posix_spawn_file_actions_destroy(&actions); }
};

struct SpawnAttributes
{
    posix_spawnattr_t attributes;
    SpawnAttributes() { posix_spawnattr_init(&attributes); }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes); }
};

} // namespace

COperateSystemInfo::COperateSystemInfo()
{
    utsname system{};
    m_isWow64 = sizeof(void*) == 4 && uname(&system) == 0 && std::string(system.machine) == "x86_64";
    m_operatingSystemCode = geteuid() == 0 ? kCodeNoElevation : kCodeLaterSystem;
}

bool COperateSystemInfo::StartProgram(const std::string& path, const std::string& parameters, bool wait) const
{
    if (!FileIsExecutable(path))
        return false;
    std::vector<std::string> arguments;
    if (NeedsElevation())
        if (const auto pkexec = FindInPath("pkexec"))
            arguments.push_back(*pkexec);
    arguments.push_back(path);
    for (std::string& word : SplitParameters(parameters))
        arguments.push_back(std::move(word));
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const std::string folder = path.substr(0, path.rfind('/') + 1);
    SpawnFileActions files;
    posix_spawn_file_actions_addopen(&files.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files.actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&files.actions, folder.c_str());
    SpawnAttributes attributes;
    // Its own session: no controlling terminal, and a Ctrl+C meant for us does not reach it.
    posix_spawnattr_setflags(&attributes.attributes, POSIX_SPAWN_SETSID);

    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &files.actions, &attributes.attributes, argv.data(), environ) != 0)
        return false;
    if (wait)
    {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR)
        {
        }
    }
    else
    {
        // Reap it in the background so that it never lingers as a zombie.
        std::thread(
            [child]
            {
                int status = 0;
                while (waitpid(child, &status, 0) < 0 && errno == EINTR)
                {
                }
            })
            .detach();
    }
    return true;
}

std::optional<pid_t> COperateSystemInfo::FindProcessByName(const std::string& name) const
{
    std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), closedir);
    if (!proc)
        return std::nullopt;
    while (const dirent* entry = readdir(proc.get()))
    {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0')
            continue;
        if (ExecutableName(static_cast<pid_t>(pid)) == name)
            return static_cast<pid_t>(pid);
    }
    return std::nullopt;
}

void COperateSystemInfo::EndAllProcessesByName(const std::string& name) const
{
    pid_t previous = -1;
    while (const auto pid = FindProcessByName(name))
    {
        // Found again after it was told to end: it cannot be ended, so stop instead of looping.
        if (*pid == previous)
            return;
        previous = *pid;
        if (kill(*pid, SIGKILL) != 0)
            return;
        for (int i = 0; i < 200 && !ProcessIsGone(*pid); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}
