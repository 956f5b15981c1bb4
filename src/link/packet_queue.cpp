#include "link/packet_queue.h"

#include <iterator>

void CPacketQueue::Append(std::vector<ap_packet_info>& batch)
{
    {
        std::lock_guard guard(m_lock);
        m_items.insert(m_items.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
    }
    batch.clear();
    m_event.Signal();
}

std::vector<ap_packet_info> CPacketQueue::TakeAll()
{
    std::vector<ap_packet_info> taken;
    std::lock_guard guard(m_lock);
    taken.swap(m_items);
    return taken;
}
