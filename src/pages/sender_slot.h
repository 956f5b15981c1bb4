// The slot of one kind of sender thread of a page (rename, batch IP, ...): it holds at most one
// running sender. A new sender replaces the running one, which sends nothing more: it is asked to
// stop and checks that between two requests, so it is never stopped inside a device-link call.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

class CSenderSlot
{
public:
    // Work gets everything it sends as copies captured when it starts; it tests the token before
    // each request and returns when a stop is requested.
    using Work = std::function<void(std::stop_token stop)>;

    CSenderSlot() = default;
    // Asks every sender to stop and joins them: none outlives the page that started it.
    ~CSenderSlot();
    CSenderSlot(const CSenderSlot&) = delete;
    CSenderSlot& operator=(const CSenderSlot&) = delete;

    // Asks the running sender to stop and starts work on a thread of its own. Never waits for the
    // replaced sender; threads that have ended are joined here.
    void Replace(Work work);

    // A sender of this slot has not returned yet (the current one or a replaced one).
    bool IsBusy() const;
    // Test hook: waits until every sender of the slot has returned.
    void WaitIdle();

private:
    struct Sender
    {
        std::jthread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void JoinEnded();

    mutable std::mutex m_lock;
    std::vector<Sender> m_senders; // the last one is the current sender
};
