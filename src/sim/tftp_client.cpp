#include "sim/tftp_client.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <vector>

#include "link/socket_address.h"
#include "link/unique_fd.h"

namespace
{

constexpr uint16_t kOpRead = 1;
constexpr uint16_t kOpData = 3;
constexpr uint16_t kOpAck = 4;
constexpr uint16_t kOpError = 5;
constexpr uint16_t kOpOptionAck = 6;
constexpr size_t kBlockSize = 1428;
constexpr int kRetryMs = 2000;
constexpr int kRetries = 5;

uint16_t Read16(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
}

std::vector<uint8_t> Ack(uint16_t block)
{
    return {0, kOpAck, static_cast<uint8_t>(block >> 8), static_cast<uint8_t>(block)};
}

} // namespace

TftpFetchResult TftpFetch(const Ipv4Bytes& server, const Ipv4Bytes& localAddress, const std::string& file,
                          uint16_t serverPort)
{
    TftpFetchResult result;
    const CUniqueFd socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    const sockaddr_in local = SocketAddress(localAddress, 0);
    if (!socket || bind(socket.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != 0)
    {
        result.error = std::string("socket: ") + std::strerror(errno);
        return result;
    }
    std::vector<uint8_t> request = {0, kOpRead};
    auto append = [&request](const std::string& text)
    {
        request.insert(request.end(), text.begin(), text.end());
        request.push_back(0);
    };
    append(file);
    append("octet");
    append("blksize");
    append(std::to_string(kBlockSize));

    sockaddr_in peer = SocketAddress(server, serverPort);
    bool peerKnown = false; // the server answers from a port of its own, fixed after its first packet
    std::vector<uint8_t> last = request;
    size_t blockSize = 512;
    uint16_t expected = 1;
    std::vector<uint8_t> buffer(65536);
    int retries = 0;
    auto sendLast = [&]
    { sendto(socket.Get(), last.data(), last.size(), 0, reinterpret_cast<const sockaddr*>(&peer), sizeof(peer)); };
    sendLast();
    while (true)
    {
        pollfd waiting{socket.Get(), POLLIN, 0};
        const int ready = poll(&waiting, 1, kRetryMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
        {
            if (++retries > kRetries)
            {
                result.error = "timeout";
                return result;
            }
            sendLast();
            continue;
        }
        sockaddr_in from{};
        socklen_t fromLength = sizeof(from);
        const ssize_t received =
            recvfrom(socket.Get(), buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (received < 4 || from.sin_addr.s_addr != peer.sin_addr.s_addr)
            continue;
        if (peerKnown && from.sin_port != peer.sin_port)
            continue;
        const uint16_t opcode = Read16(buffer.data());
        if (opcode == kOpError)
        {
            result.error = "server: " + std::string(reinterpret_cast<const char*>(buffer.data()) + 4,
                                                    strnlen(reinterpret_cast<const char*>(buffer.data()) + 4,
                                                            static_cast<size_t>(received) - 4));
            return result;
        }
        if (!peerKnown)
        {
            peer.sin_port = from.sin_port;
            peerKnown = true;
        }
        retries = 0;
        if (opcode == kOpOptionAck && expected == 1)
        {
            // Options accepted: read the block size the server agreed to, acknowledge block 0.
            const char* text = reinterpret_cast<const char*>(buffer.data()) + 2;
            const char* end = reinterpret_cast<const char*>(buffer.data()) + received;
            while (text < end)
            {
                const std::string name(text, strnlen(text, static_cast<size_t>(end - text)));
                text += name.size() + 1;
                if (text >= end)
                    break;
                const std::string value(text, strnlen(text, static_cast<size_t>(end - text)));
                text += value.size() + 1;
                if (strcasecmp(name.c_str(), "blksize") == 0)
                    blockSize = static_cast<size_t>(std::strtoul(value.c_str(), nullptr, 10));
            }
            last = Ack(0);
            sendLast();
            continue;
        }
        if (opcode != kOpData)
            continue;
        const uint16_t block = Read16(buffer.data() + 2);
        if (block == expected)
        {
            const size_t data = static_cast<size_t>(received) - 4;
            result.bytes += data;
            last = Ack(block);
            sendLast();
            ++expected;
            if (data < blockSize)
            {
                result.ok = true;
                return result;
            }
        }
        else
        {
            // A repeated block: our acknowledge was lost.
            sendLast();
        }
    }
}
