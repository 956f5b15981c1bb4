// fieldmate-sim: many devices on one interface, for tests, demos and benchmarks inside a test LAN.
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

#include "app/stop_signal.h"
#include "sim/sim_engine.h"
#include "sim/sim_options.h"

namespace
{

// fieldmate-sim control PATH COMMAND...: one command to a running simulator, its answer printed.
int SendControl(const std::vector<std::string>& arguments)
{
    if (arguments.size() < 2)
    {
        std::fprintf(stderr, "usage: fieldmate-sim control PATH COMMAND...\n");
        return 2;
    }
    std::string line;
    for (size_t i = 1; i < arguments.size(); ++i)
        line += (i > 1 ? " " : "") + arguments[i];
    line += "\n";
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, arguments[0].c_str(), sizeof(address.sun_path) - 1);
    if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
    {
        std::fprintf(stderr, "fieldmate-sim: cannot reach %s: %s\n", arguments[0].c_str(), std::strerror(errno));
        if (fd >= 0)
            close(fd);
        return 1;
    }
    [[maybe_unused]] const ssize_t sent = write(fd, line.data(), line.size());
    std::string reply;
    char buffer[256];
    ssize_t received = 0;
    while ((received = read(fd, buffer, sizeof(buffer))) > 0)
        reply.append(buffer, static_cast<size_t>(received));
    close(fd);
    std::fputs(reply.c_str(), stdout);
    return reply.rfind("ok", 0) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && arguments[0] == "control")
        return SendControl({arguments.begin() + 1, arguments.end()});

    std::string error;
    bool help = false;
    const std::optional<CSimOptions> options = ParseSimOptions(arguments, &error, &help);
    if (help)
    {
        std::fputs(SimUsage(), stdout);
        return 0;
    }
    if (!options)
    {
        std::fprintf(stderr, "fieldmate-sim: %s\n\n%s", error.c_str(), SimUsage());
        return 2;
    }
    const int stopFd = InstallStopSignals();
    CSimEngine engine(*options);
    if (!engine.Start(&error))
    {
        std::fprintf(stderr, "fieldmate-sim: %s\n", error.c_str());
        return 1;
    }
    return engine.Run(stopFd);
}
