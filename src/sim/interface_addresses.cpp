#include "sim/interface_addresses.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>

namespace
{

// Requests per netlink message batch; each is about 40 bytes.
constexpr size_t kBatch = 256;

void AddAttribute(std::vector<uint8_t>& buffer, uint16_t type, const void* data, size_t size)
{
    rtattr attribute{};
    attribute.rta_type = type;
    attribute.rta_len = static_cast<unsigned short>(RTA_LENGTH(size));
    const size_t at = buffer.size();
    buffer.resize(at + RTA_SPACE(size), 0);
    std::memcpy(buffer.data() + at, &attribute, sizeof(attribute));
    std::memcpy(buffer.data() + at + RTA_LENGTH(0), data, size);
}

} // namespace

CInterfaceAddresses::CInterfaceAddresses(std::string interfaceName) : m_name(std::move(interfaceName)) {}

bool CInterfaceAddresses::Open(std::string* error)
{
    m_index = static_cast<int>(if_nametoindex(m_name.c_str()));
    if (m_index == 0)
    {
        *error = "no interface " + m_name;
        return false;
    }
    m_socket.Reset(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
    if (!m_socket)
    {
        *error = std::string("netlink socket: ") + std::strerror(errno);
        return false;
    }
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;
    if (bind(m_socket.Get(), reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0)
    {
        *error = std::string("netlink bind: ") + std::strerror(errno);
        return false;
    }
    return true;
}

bool CInterfaceAddresses::KeepSecondaries(std::string* error)
{
    std::ofstream setting("/proc/sys/net/ipv4/conf/" + m_name + "/promote_secondaries");
    setting << "1\n";
    setting.close();
    if (!setting)
    {
        *error = "cannot set promote_secondaries on " + m_name;
        return false;
    }
    return true;
}

bool CInterfaceAddresses::Add(const std::vector<std::pair<Ipv4Bytes, int>>& addresses, std::string* error)
{
    return Change(RTM_NEWADDR, addresses, error);
}

bool CInterfaceAddresses::Remove(const std::vector<std::pair<Ipv4Bytes, int>>& addresses, std::string* error)
{
    return Change(RTM_DELADDR, addresses, error);
}

bool CInterfaceAddresses::Change(int type, const std::vector<std::pair<Ipv4Bytes, int>>& addresses, std::string* error)
{
    for (size_t first = 0; first < addresses.size(); first += kBatch)
    {
        const size_t last = std::min(addresses.size(), first + kBatch);
        std::vector<uint8_t> buffer;
        const unsigned firstSequence = m_sequence;
        for (size_t i = first; i < last; ++i)
        {
            std::vector<uint8_t> message(NLMSG_LENGTH(sizeof(ifaddrmsg)), 0);
            auto* header = reinterpret_cast<nlmsghdr*>(message.data());
            header->nlmsg_type = static_cast<uint16_t>(type);
            header->nlmsg_flags = NLM_F_REQUEST | NLM_F_ACK | (type == RTM_NEWADDR ? NLM_F_CREATE | NLM_F_EXCL : 0);
            header->nlmsg_seq = m_sequence++;
            auto* address = reinterpret_cast<ifaddrmsg*>(NLMSG_DATA(header));
            address->ifa_family = AF_INET;
            address->ifa_prefixlen = static_cast<unsigned char>(addresses[i].second);
            address->ifa_scope = RT_SCOPE_UNIVERSE;
            address->ifa_index = static_cast<unsigned>(m_index);
            AddAttribute(message, IFA_LOCAL, addresses[i].first.data(), 4);
            AddAttribute(message, IFA_ADDRESS, addresses[i].first.data(), 4);
            // The subnet's broadcast address, so that discover broadcasts to it are received.
            const uint32_t hostBits = addresses[i].second >= 32 ? 0 : 0xffffffffu >> addresses[i].second;
            uint8_t broadcast[4];
            for (int b = 0; b < 4; ++b)
                broadcast[b] = static_cast<uint8_t>(addresses[i].first[b] | (hostBits >> (8 * (3 - b))));
            AddAttribute(message, IFA_BROADCAST, broadcast, 4);
            reinterpret_cast<nlmsghdr*>(message.data())->nlmsg_len = static_cast<uint32_t>(message.size());
            message.resize(NLMSG_ALIGN(message.size()), 0);
            buffer.insert(buffer.end(), message.begin(), message.end());
        }
        sockaddr_nl kernel{};
        kernel.nl_family = AF_NETLINK;
        if (sendto(m_socket.Get(), buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&kernel),
                   sizeof(kernel)) < 0)
        {
            *error = std::string("netlink send: ") + std::strerror(errno);
            return false;
        }
        size_t acknowledged = 0;
        const size_t expected = last - first;
        std::vector<uint8_t> reply(65536);
        while (acknowledged < expected)
        {
            const ssize_t received = recv(m_socket.Get(), reply.data(), reply.size(), 0);
            if (received < 0)
            {
                if (errno == EINTR)
                    continue;
                *error = std::string("netlink receive: ") + std::strerror(errno);
                return false;
            }
            int length = static_cast<int>(received);
            for (auto* header = reinterpret_cast<nlmsghdr*>(reply.data()); NLMSG_OK(header, length);
                 header = NLMSG_NEXT(header, length))
            {
                if (header->nlmsg_type != NLMSG_ERROR || header->nlmsg_seq < firstSequence)
                    continue;
                ++acknowledged;
                const int code = -reinterpret_cast<nlmsgerr*>(NLMSG_DATA(header))->error;
                const bool fine = code == 0 || (type == RTM_NEWADDR && code == EEXIST) ||
                                  (type == RTM_DELADDR && code == EADDRNOTAVAIL);
                if (!fine)
                {
                    const size_t index = first + (header->nlmsg_seq - firstSequence);
                    *error = std::string(type == RTM_NEWADDR ? "adding " : "removing ") +
                             IpBytesToText(addresses[std::min(index, addresses.size() - 1)].first) + " on " + m_name +
                             ": " + std::strerror(code);
                    return false;
                }
            }
        }
    }
    return true;
}
