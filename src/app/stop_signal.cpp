#include "app/stop_signal.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace
{

int g_pipe[2] = {-1, -1};
std::atomic<bool> g_stopRequested{false};

void OnStopSignal(int)
{
    const int savedErrno = errno;
    g_stopRequested.store(true);
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

int InstallStopSignals()
{
    if (g_pipe[0] >= 0)
        return g_pipe[0];
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    struct sigaction action
    {
    };
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    return g_pipe[0];
}

bool StopRequested()
{
    return g_stopRequested.load();
}
