// The queue between a receive thread and its manage thread: appended in batches, taken whole, with
// an auto-reset event that wakes the manage thread.
#pragma once

#include <mutex>
#include <vector>

#include "link/event_fd.h"
#include "link/packet_head.h"

class CPacketQueue
{
public:
    bool CreateEvent() { return m_event.Create(); }
    void CloseEvent() { m_event.Close(); }
    const CEventFd& Event() const { return m_event; }

    // Appends the records under the queue's lock, then signals the event.
    void Append(std::vector<ap_packet_info>& batch);

    // The whole content, leaving the queue empty.
    std::vector<ap_packet_info> TakeAll();

private:
    std::mutex m_lock;
    std::vector<ap_packet_info> m_items;
    CEventFd m_event;
};
