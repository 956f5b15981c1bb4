// Events the engine's threads wait on: an eventfd that a poll can watch together with a socket.
#pragma once

#include <chrono>

#include "link/unique_fd.h"

class CEventFd
{
public:
    // False when the kernel gives no descriptor.
    bool Create();
    void Close() { m_fd.Reset(); }
    bool Valid() const { return m_fd.Valid(); }
    int Fd() const { return m_fd.Get(); }

    // Makes the descriptor readable until the next Consume.
    void Signal() const;
    // Back to not signalled (an auto-reset event's reset on wake-up).
    void Consume() const;

private:
    CUniqueFd m_fd;
};

// What ended a wait.
enum class WaitResult
{
    Event,   // the watched descriptor became readable
    Stop,    // the stop event is signalled (it wins when both are)
    Timeout, // neither, within the time given
};

// Waits until fd is readable or stop is signalled. A negative fd waits on stop alone.
WaitResult WaitReadable(int fd, const CEventFd& stop);

// Waits up to timeout for stop; Stop or Timeout. Long timeouts (days) are fine.
WaitResult WaitForStop(const CEventFd& stop, std::chrono::milliseconds timeout);
