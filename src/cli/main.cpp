// fieldmate-cli: the command-line front end, over the same start-up and shutdown as the window.
#include <cstdio>
#include <string>
#include <vector>

#include "app/application_app.h"
#include "app/stop_signal.h"
#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "store/sql_management.h"
#include "support/language.h"
#include "support/program_dir.h"

namespace
{

int Run(CApplicationApp& application, const CliOptions& options, int stopFd)
{
    if (application.LinkStartFailure())
    {
        std::fprintf(stderr, "fieldmate-cli: the device link could not start: %s\n",
                     application.LinkStartFailure()->c_str());
        return kExitEngineFailed;
    }
    CSqlManagement& store = *application.Store();
    if (!store.IsUsable())
    {
        std::fprintf(stderr, "fieldmate-cli: %s\n", LookupText(kDatabaseOpenFailedMessage).c_str());
        return kExitFailure;
    }
    switch (options.command)
    {
    case CliCommand::Discover:
        return RunDiscover(*application.Engine(), store, options, stopFd);
    case CliCommand::Monitor:
        return RunMonitor(*application.Engine(), store, options, stopFd);
    case CliCommand::Adapters:
        return RunAdapters(*application.Engine(), options);
    }
    return kExitFailure;
}

} // namespace

int main(int argc, char* argv[])
{
    const CliParseResult parsed = ParseCliArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options)
    {
        std::fputs(parsed.output.c_str(), parsed.exitCode == kExitOk ? stdout : stderr);
        return parsed.exitCode;
    }
    // Before anything else, so that a stop signal at any moment ends the run through its shutdown.
    const int stopFd = InstallStopSignals();
    CApplicationApp& application = CApplicationApp::Instance();
    if (!application.InitInstance(GetProgramDirectory()))
    {
        std::fprintf(stderr, "fieldmate-cli: another copy of Fieldmate is running (window or command line)\n");
        return kExitOtherInstance;
    }
    const int code = Run(application, *parsed.options, stopFd);
    application.ExitInstance();
    return code;
}
