// The command line of fieldmate-cli: commands, options and exit codes.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class CliCommand
{
    Discover,
    Monitor,
    Adapters,
};

enum class OutputFormat
{
    Table,
    Json,
    Csv,
};

// Exit codes: each failure has its own, so that scripts can tell them apart.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;       // the device store cannot be used
constexpr int kExitUsage = 2;         // bad arguments
constexpr int kExitOtherInstance = 3; // another copy of the tool (window or command line) runs
constexpr int kExitEngineFailed = 4;  // the device link could not start (a port in use, for example)

struct CliOptions
{
    CliCommand command = CliCommand::Discover;
    int seconds = 10; // discover: how long to search; monitor: how long to run (0: until stopped)
    OutputFormat format = OutputFormat::Table;
    bool search = false; // monitor: search as the status page does while it runs
};

struct CliParseResult
{
    std::optional<CliOptions> options; // nothing when the run ends here
    int exitCode = kExitOk;
    std::string output; // help text (stdout) or the error with the usage (stderr)
};

CliParseResult ParseCliArguments(const std::vector<std::string>& arguments);
