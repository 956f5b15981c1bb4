// The run's log file: one line per event, appended atomically from any thread.
#pragma once

#include <string>

enum LogLevel
{
    LOG_LEVEL_INFO = 0,
    LOG_LEVEL_ERROR = 1,
};

// Creates <programDirectory>Logs/<yyyymmddhhmmss>.log as a new file. When that fails
// (the name exists, Logs is not a directory, no permission) logging stays off for the run.
bool OpenLog(const std::string& programDirectory);

// Any level other than LOG_LEVEL_ERROR is written as information.
bool WriteLog(const char* location, int level, int line, const char* format, ...) __attribute__((format(printf, 4, 5)));

// The file the log writes to, empty while logging is off.
std::string CurrentLogPath();

#define LOG_INFO(...) WriteLog(__PRETTY_FUNCTION__, LOG_LEVEL_INFO, __LINE__, __VA_ARGS__)
#define LOG_ERROR(...) WriteLog(__PRETTY_FUNCTION__, LOG_LEVEL_ERROR, __LINE__, __VA_ARGS__)
