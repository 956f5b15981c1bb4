// Waiting on a condition with a deadline instead of a bare sleep.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

inline bool WaitFor(const std::function<bool()>& predicate, std::chrono::milliseconds timeout,
                    std::chrono::milliseconds step = std::chrono::milliseconds(10))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!predicate())
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(step);
    }
    return true;
}
