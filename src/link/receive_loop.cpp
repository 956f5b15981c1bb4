#include "link/receive_loop.h"

#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>

namespace
{

// Datagrams taken per wake-up before the batch is handed on, so a flood still reaches the queue.
constexpr size_t kBatchLimit = 256;

} // namespace

void RunReceiveLoop(int socketFd, ApChannel channel, CPacketQueue& queue, const CEventFd& stop)
{
    if (socketFd < 0)
        return;
    std::vector<ap_packet_info> batch;
    uint8_t buffer[kApPacketMaxSize];
    while (WaitReadable(socketFd, stop) != WaitResult::Stop)
    {
        while (batch.size() < kBatchLimit)
        {
            sockaddr_in from{};
            socklen_t fromLength = sizeof(from);
            // MSG_TRUNC gives the real size, so a datagram longer than 1472 bytes is seen and dropped.
            const ssize_t received = recvfrom(socketFd, buffer, sizeof(buffer), MSG_DONTWAIT | MSG_TRUNC,
                                              reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (received < 0 && errno == EINTR)
                continue;
            if (received < 0)
                break;
            if (static_cast<size_t>(received) > sizeof(buffer) || from.sin_family != AF_INET)
                continue;
            std::optional<ap_packet_info> packet =
                DecodePacket(std::span<const uint8_t>(buffer, static_cast<size_t>(received)), channel, from);
            if (packet)
                batch.push_back(*packet);
        }
        if (!batch.empty())
            queue.Append(batch);
    }
}
