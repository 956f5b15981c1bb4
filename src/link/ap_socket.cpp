#include "link/ap_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <optional>
#include <sys/socket.h>

#include "link/pktinfo_send.h"
#include "link/socket_address.h"
#include "support/log.h"

namespace
{

bool SetOption(int fd, int level, int name, int value)
{
    return setsockopt(fd, level, name, &value, sizeof(value)) == 0;
}

struct StepFailure
{
    const char* step;
    int error;
};

StepFailure Fail(const char* step, int error)
{
    return {step, error};
}

// The steps of AcCreateSocket; the first that fails, or none.
std::optional<StepFailure> CreateSocketSteps(CUniqueFd& slot, uint16_t port, bool broadcast, int sendBuffer,
                                             int receiveBuffer, bool multicast, const std::string& localIp,
                                             const std::string& group)
{
    slot.Reset(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP));
    if (!slot)
        return Fail("socket fail", errno);
    const int fd = slot.Get();
    if (!SetOption(fd, SOL_SOCKET, SO_REUSEADDR, 1))
        return Fail("socket setsockopt SO_REUSEADDR fail", errno);
    if (broadcast && !SetOption(fd, SOL_SOCKET, SO_BROADCAST, 1))
        return Fail("socket setsockopt SO_BROADCAST fail", errno);
    if (multicast)
    {
        ip_mreq membership{};
        const std::optional<sockaddr_in> groupAddress = ParseSocketAddress(group, 0);
        const std::optional<sockaddr_in> interfaceAddress = ParseSocketAddress(localIp, 0);
        if (!groupAddress || !interfaceAddress)
            return Fail("socket setsockopt IP_ADD_MEMBERSHIP fail", EINVAL);
        membership.imr_multiaddr = groupAddress->sin_addr;
        membership.imr_interface = interfaceAddress->sin_addr;
        if (setsockopt(fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof(membership)) != 0)
            return Fail("socket setsockopt IP_ADD_MEMBERSHIP fail", errno);
        if (!DisableMulticastLoop(fd))
            return Fail("socket setsockopt IP_MULTICAST_LOOP fail", errno);
    }
    if (!SetOption(fd, SOL_SOCKET, SO_SNDBUF, sendBuffer))
        return Fail("socket setsockopt SO_SNDBUF fail", errno);
    if (!SetOption(fd, SOL_SOCKET, SO_RCVBUF, receiveBuffer))
        return Fail("socket setsockopt SO_RCVBUF fail", errno);
    const std::optional<sockaddr_in> local = ParseSocketAddress(localIp, port);
    if (!local)
        return Fail("socket bind fail", EINVAL);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&*local), sizeof(*local)) != 0)
        return Fail("socket bind fail", errno);
    return std::nullopt;
}

} // namespace

bool AcCreateSocket(CUniqueFd& slot, uint16_t port, bool broadcast, int sendBuffer, int receiveBuffer, bool multicast,
                    const std::string& localIp, const std::string& group, std::string* failure)
{
    const std::optional<StepFailure> failed =
        CreateSocketSteps(slot, port, broadcast, sendBuffer, receiveBuffer, multicast, localIp, group);
    if (!failed)
        return true;
    LOG_ERROR("%s", failed->step);
    slot.Reset();
    if (failure != nullptr)
        *failure =
            std::string(failed->step) + " (port " + std::to_string(port) + ": " + std::strerror(failed->error) + ")";
    return false;
}

bool DisableMulticastLoop(int fd)
{
    const unsigned char off = 0;
    return setsockopt(fd, IPPROTO_IP, IP_MULTICAST_LOOP, &off, sizeof(off)) == 0;
}

bool SendDatagram(int fd, const std::string& ip, uint16_t port, std::span<const uint8_t> datagram)
{
    const std::optional<sockaddr_in> target = ParseSocketAddress(ip, port);
    if (fd < 0 || !target ||
        sendto(fd, datagram.data(), datagram.size(), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&*target),
               sizeof(*target)) <= 0)
    {
        LOG_ERROR("socket sendto fail");
        return false;
    }
    return true;
}

bool SendDatagramFrom(int fd, const std::string& sourceIp, const std::string& ip, uint16_t port,
                      std::span<const uint8_t> datagram)
{
    const std::optional<sockaddr_in> target = ParseSocketAddress(ip, port);
    const std::optional<sockaddr_in> source = ParseSocketAddress(sourceIp, 0);
    if (fd < 0 || !target || !source)
    {
        LOG_ERROR("socket sendto fail");
        return false;
    }

    if (SendWithSourceAddress(fd, *target, source->sin_addr, datagram, MSG_NOSIGNAL) <= 0)
    {
        LOG_ERROR("socket sendto fail");
        return false;
    }
    return true;
}
