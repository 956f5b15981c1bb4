#include "link/event_fd.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace
{

// One poll of fd (when not negative) and stop; timeoutMs -1 waits without limit.
WaitResult PollOnce(int fd, const CEventFd& stop, int timeoutMs)
{
    pollfd fds[2] = {{stop.Fd(), POLLIN, 0}, {fd, POLLIN, 0}};
    const nfds_t count = fd >= 0 ? 2 : 1;
    for (;;)
    {
        const int ready = poll(fds, count, timeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return WaitResult::Event; // the caller's non-blocking read finds out, then waits again
        if (ready == 0)
            return WaitResult::Timeout;
        if (fds[0].revents != 0)
            return WaitResult::Stop;
        return WaitResult::Event;
    }
}

} // namespace

bool CEventFd::Create()
{
    m_fd.Reset(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    return m_fd.Valid();
}

void CEventFd::Signal() const
{
    const uint64_t one = 1;
    // A full counter is still signalled, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t written = write(m_fd.Get(), &one, sizeof(one));
}

void CEventFd::Consume() const
{
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(m_fd.Get(), &count, sizeof(count));
}

WaitResult WaitReadable(int fd, const CEventFd& stop)
{
    return PollOnce(fd, stop, -1);
}

WaitResult WaitForStop(const CEventFd& stop, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    // Polls at least once, so that a zero timeout still sees a stop.
    for (;;)
    {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        // poll takes an int of milliseconds; a longer wait goes round in steps.
        const int step = static_cast<int>(std::clamp<long long>(left.count(), 0, 24LL * 3600 * 1000));
        if (PollOnce(-1, stop, step) == WaitResult::Stop)
            return WaitResult::Stop;
        if (std::chrono::steady_clock::now() >= deadline)
            return WaitResult::Timeout;
    }
}
