#include "support/log.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Set once by OpenLog and never closed: the kernel closes it with the process.
std::atomic<int> g_logDescriptor{-1};
std::string g_logPath;

constexpr size_t kLocationLimit = 511;

void CreateDirectories(const std::string& path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0755);
    mkdir(path.c_str(), 0755);
}

std::string FormatTimestamp()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    char text[64];
    snprintf(text, sizeof(text), "[%04d-%02d-%02d %02d:%02d:%02d:%04ld]", local.tm_year + 1900, local.tm_mon + 1,
             local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<long>(now.tv_nsec / 1000000));
    return text;
}

std::string FormatMessage(const char* format, va_list arguments)
{
    va_list copy;
    va_copy(copy, arguments);
    const int length = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0)
        return {};
    std::string message(static_cast<size_t>(length) + 1, '\0');
    vsnprintf(message.data(), message.size(), format, arguments);
    message.resize(static_cast<size_t>(length));
    return message;
}

} // namespace

bool OpenLog(const std::string& programDirectory)
{
    const time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);

    const std::string directory = programDirectory + "Logs";
    struct stat info
    {
    };
    if (stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        CreateDirectories(directory);

    char name[64];
    snprintf(name, sizeof(name), "%04d%02d%02d%02d%02d%02d.log", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
             local.tm_hour, local.tm_min, local.tm_sec);
    const std::string path = directory + "/" + name;
    const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
    if (descriptor >= 0)
        g_logPath = path;
    g_logDescriptor.store(descriptor);
    return descriptor >= 0;
}

std::string CurrentLogPath()
{
    return g_logDescriptor.load() >= 0 ? g_logPath : std::string();
}

bool WriteLog(const char* location, int level, int line, const char* format, ...)
{
    std::string text = FormatTimestamp();
    text += level == LOG_LEVEL_ERROR ? "[ERROR]" : "[INFO]";
    text += "[ThreadID: " + std::to_string(static_cast<unsigned>(gettid())) + "]";
    std::string where = location ? location : "";
    if (where.size() > kLocationLimit)
        where.resize(kLocationLimit);
    text += "[" + where + ":" + std::to_string(line) + "]";

    va_list arguments;
    va_start(arguments, format);
    text += FormatMessage(format, arguments);
    va_end(arguments);
    text += "\r\n";

    const int descriptor = g_logDescriptor.load();
    if (descriptor < 0)
        return false;
    // One write on an O_APPEND descriptor: lines of different threads never interleave, and a
    // line written is in the kernel even if the process dies the next instant.
    const char* data = text.data();
    size_t remaining = text.size();
    while (remaining > 0)
    {
        const ssize_t written = write(descriptor, data, remaining);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        data += written;
        remaining -= static_cast<size_t>(written);
    }
    return true;
}
