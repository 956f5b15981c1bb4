#include "pages/sender_slot.h"

#include <algorithm>
#include <utility>

CSenderSlot::~CSenderSlot()
{
    std::vector<Sender> senders;
    {
        std::lock_guard guard(m_lock);
        senders.swap(m_senders);
    }
    // Each jthread asks its sender to stop and joins it as it goes.
    senders.clear();
}

void CSenderSlot::JoinEnded()
{
    for (auto sender = m_senders.begin(); sender != m_senders.end();)
    {
        if (sender->done->load())
        {
            sender->thread.join();
            sender = m_senders.erase(sender);
        }
        else
            ++sender;
    }
}

void CSenderSlot::Replace(Work work)
{
    std::lock_guard guard(m_lock);
    JoinEnded();
    for (Sender& sender : m_senders)
        sender.thread.request_stop();
    auto done = std::make_shared<std::atomic<bool>>(false);
    m_senders.push_back({std::jthread(
                             [work = std::move(work), done](std::stop_token stop)
                             {
                                 work(stop);
                                 done->store(true);
                             }),
                         done});
}

bool CSenderSlot::IsBusy() const
{
    std::lock_guard guard(m_lock);
    return std::any_of(m_senders.begin(), m_senders.end(), [](const Sender& sender) { return !sender.done->load(); });
}

void CSenderSlot::WaitIdle()
{
    std::vector<Sender> senders;
    {
        std::lock_guard guard(m_lock);
        senders.swap(m_senders);
    }
    for (Sender& sender : senders)
        sender.thread.join();
}
