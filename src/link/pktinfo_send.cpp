#include "link/pktinfo_send.h"

#include <cstring>
#include <sys/socket.h>

ssize_t SendWithSourceAddress(int fd, const sockaddr_in& target, const in_addr& source,
                              std::span<const uint8_t> datagram, int flags)
{
    sockaddr_in destination = target;
    iovec part{const_cast<uint8_t*>(datagram.data()), datagram.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr message{};
    message.msg_name = &destination;
    message.msg_namelen = sizeof(destination);
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof(control);
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = IPPROTO_IP;
    header->cmsg_type = IP_PKTINFO;
    header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info{};
    // Interface 0: the route lookup takes the interface that holds the source address.
    info.ipi_ifindex = 0;
    info.ipi_spec_dst = source;
    std::memcpy(CMSG_DATA(header), &info, sizeof(info));
    return sendmsg(fd, &message, flags);
}
