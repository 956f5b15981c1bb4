#include "sim/sim_engine.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <net/if.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "link/message_types.h"
#include "link/pktinfo_send.h"
#include "link/socket_address.h"
#include "sim/device_profiles.h"

namespace
{

constexpr int kSocketBuffer = 8 * 1024 * 1024;
constexpr size_t kReceiveBatch = 64;
// Datagrams handled per socket before the loop looks at its timers again.
constexpr size_t kReceivePerWake = 2048;

uint32_t IpKey(const Ipv4Bytes& ip)
{
    return uint32_t{ip[0]} << 24 | uint32_t{ip[1]} << 16 | uint32_t{ip[2]} << 8 | ip[3];
}

CUniqueFd UdpSocket(uint16_t port, const std::string& interfaceName, std::string* error)
{
    CUniqueFd owned(socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    const int fd = owned.Get();
    if (!owned)
    {
        *error = std::string("socket: ") + std::strerror(errno);
        return {};
    }
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof(on));
    // Root in its own namespace: buffers beyond rmem_max, so bursts of a thousand devices fit.
    if (setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &kSocketBuffer, sizeof(kSocketBuffer)) != 0)
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &kSocketBuffer, sizeof(kSocketBuffer));
    if (setsockopt(fd, SOL_SOCKET, SO_SNDBUFFORCE, &kSocketBuffer, sizeof(kSocketBuffer)) != 0)
        setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &kSocketBuffer, sizeof(kSocketBuffer));
    setsockopt(fd, SOL_SOCKET, SO_BINDTODEVICE, interfaceName.c_str(), static_cast<socklen_t>(interfaceName.size()));
    const sockaddr_in any = SocketAddress({0, 0, 0, 0}, port);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof(any)) != 0)
    {
        *error = "bind to port " + std::to_string(port) + ": " + std::strerror(errno);
        return {};
    }
    return owned;
}

bool Watch(int epoll, int fd, uint32_t events)
{
    epoll_event event{};
    event.events = events;
    event.data.fd = fd;
    return epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

} // namespace

CSimEngine::CSimEngine(CSimOptions options)
    : m_options(std::move(options)), m_addresses(m_options.interfaceName), m_random(m_options.seed)
{
    m_devices = MakeSimDevices(m_options);
    for (size_t i = 0; i < m_devices.size(); ++i)
        m_byMac.emplace(m_devices[i].MacText(), i);
    m_startTime = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

CSimEngine::~CSimEngine()
{
    for (std::thread& thread : m_fetchThreads)
        if (thread.joinable())
            thread.join();
    if (!m_options.controlSocket.empty() && m_controlSocket)
        unlink(m_options.controlSocket.c_str());
    if (m_datagramLog != nullptr)
        fclose(m_datagramLog);
}

double CSimEngine::Now() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count() - m_startTime;
}

bool CSimEngine::UseAddress(const Ipv4Bytes& ip, int prefixLength)
{
    int& users = m_addressUse[{IpKey(ip), prefixLength}];
    if (users++ > 0 || !m_options.manageAddresses)
        return true;
    std::string error;
    if (!m_addresses.Add({{ip, prefixLength}}, &error))
    {
        std::fprintf(stderr, "fieldmate-sim: %s\n", error.c_str());
        return false;
    }
    return true;
}

void CSimEngine::ReleaseAddress(const Ipv4Bytes& ip, int prefixLength)
{
    auto found = m_addressUse.find({IpKey(ip), prefixLength});
    if (found == m_addressUse.end() || --found->second > 0)
        return;
    m_addressUse.erase(found);
    std::string error;
    if (m_options.manageAddresses && !m_addresses.Remove({{ip, prefixLength}}, &error))
        std::fprintf(stderr, "fieldmate-sim: %s\n", error.c_str());
}

bool CSimEngine::Start(std::string* error)
{
    if (!m_addresses.Open(error))
        return false;
    if (m_options.manageAddresses)
    {
        if (!m_addresses.KeepSecondaries(error))
            return false;
        std::vector<std::pair<Ipv4Bytes, int>> wanted;
        for (const CSimDevice& device : m_devices)
            if (m_addressUse[{IpKey(device.Ip()), device.PrefixLength()}]++ == 0)
                wanted.emplace_back(device.Ip(), device.PrefixLength());
        if (!m_addresses.Add(wanted, error))
            return false;
    }
    else
    {
        for (const CSimDevice& device : m_devices)
            ++m_addressUse[{IpKey(device.Ip()), device.PrefixLength()}];
    }

    m_discoverSocket = UdpSocket(kDiscoverBroadcastPort, m_options.interfaceName, error);
    if (!m_discoverSocket)
        return false;
    m_requestSocket = UdpSocket(kRequestPort, m_options.interfaceName, error);
    if (!m_requestSocket)
        return false;
    ip_mreqn group{};
    inet_pton(AF_INET, kRequestGroup, &group.imr_multiaddr);
    group.imr_ifindex = m_addresses.InterfaceIndex();
    if (setsockopt(m_requestSocket.Get(), IPPROTO_IP, IP_ADD_MEMBERSHIP, &group, sizeof(group)) != 0)
    {
        *error = std::string("joining the request group: ") + std::strerror(errno);
        return false;
    }
    const int off = 0;
    setsockopt(m_requestSocket.Get(), IPPROTO_IP, IP_MULTICAST_LOOP, &off, sizeof(off));

    m_epoll.Reset(epoll_create1(EPOLL_CLOEXEC));
    m_wakeFd.Reset(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!m_epoll || !m_wakeFd || !Watch(m_epoll.Get(), m_discoverSocket.Get(), EPOLLIN) ||
        !Watch(m_epoll.Get(), m_requestSocket.Get(), EPOLLIN) || !Watch(m_epoll.Get(), m_wakeFd.Get(), EPOLLIN))
    {
        *error = std::string("epoll: ") + std::strerror(errno);
        return false;
    }

    if (!m_options.controlSocket.empty())
    {
        m_controlSocket.Reset(socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (m_options.controlSocket.size() >= sizeof(address.sun_path))
        {
            *error = "control socket path too long";
            return false;
        }
        std::strcpy(address.sun_path, m_options.controlSocket.c_str());
        unlink(address.sun_path);
        if (!m_controlSocket ||
            bind(m_controlSocket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(m_controlSocket.Get(), 8) != 0 || !Watch(m_epoll.Get(), m_controlSocket.Get(), EPOLLIN))
        {
            *error = "control socket " + m_options.controlSocket + ": " + std::strerror(errno);
            return false;
        }
    }
    if (!m_options.datagramLog.empty())
    {
        m_datagramLog = std::fopen(m_options.datagramLog.c_str(), "w");
        if (m_datagramLog == nullptr)
        {
            *error = "cannot write " + m_options.datagramLog;
            return false;
        }
    }
    WriteState();
    return true;
}

int CSimEngine::Run(int stopFd)
{
    if (stopFd >= 0)
        Watch(m_epoll.Get(), stopFd, EPOLLIN);
    std::fprintf(stdout, "fieldmate-sim: %zu devices on %s from %s\n", m_devices.size(),
                 m_options.interfaceName.c_str(), IpBytesToText(m_options.firstIp).c_str());
    std::fflush(stdout);
    epoll_event events[16];
    bool running = true;
    while (running)
    {
        int timeout = -1;
        if (!m_timers.Empty())
        {
            const double wait = m_timers.NextDeadline() - Now();
            timeout = wait <= 0 ? 0 : static_cast<int>(std::ceil(wait * 1000.0));
        }
        const int ready = epoll_wait(m_epoll.Get(), events, 16, timeout);
        if (ready < 0 && errno != EINTR)
        {
            std::perror("fieldmate-sim: epoll_wait");
            return 1;
        }
        for (int i = 0; i < ready; ++i)
        {
            const int fd = events[i].data.fd;
            if (fd == stopFd)
                running = false;
            else if (fd == m_discoverSocket.Get())
                ReceiveAll(m_discoverSocket.Get(), kDiscoverBroadcastPort);
            else if (fd == m_requestSocket.Get())
            {
                if (events[i].events & EPOLLOUT)
                    FlushOutgoing();
                if (events[i].events & EPOLLIN)
                    ReceiveAll(m_requestSocket.Get(), kRequestPort);
            }
            else if (fd == m_wakeFd.Get())
            {
                uint64_t count = 0;
                [[maybe_unused]] const ssize_t ignored = read(m_wakeFd.Get(), &count, sizeof(count));
                FinishFetches();
            }
            else if (fd == m_controlSocket.Get())
                AcceptControl();
        }
        m_timers.RunDue(Now());
        if (m_logWritten)
        {
            std::fflush(m_datagramLog);
            m_logWritten = false;
        }
    }
    WriteState();
    // Leave the interface as it was found.
    if (m_options.manageAddresses)
    {
        std::vector<std::pair<Ipv4Bytes, int>> added;
        for (const auto& [key, users] : m_addressUse)
        {
            const Ipv4Bytes ip = {static_cast<uint8_t>(key.first >> 24), static_cast<uint8_t>(key.first >> 16),
                                  static_cast<uint8_t>(key.first >> 8), static_cast<uint8_t>(key.first)};
            added.emplace_back(ip, key.second);
        }
        std::string error;
        m_addresses.Remove(added, &error);
    }
    std::fprintf(stdout, "fieldmate-sim: %llu datagrams received, %llu sent\n",
                 static_cast<unsigned long long>(m_received), static_cast<unsigned long long>(m_sent));
    return 0;
}

void CSimEngine::ReceiveAll(int socket, uint16_t localPort)
{
    // One byte more than a datagram may have, so that a longer one shows as such and is dropped.
    static thread_local std::vector<uint8_t> buffers(kReceiveBatch * (kApPacketMaxSize + 1));
    mmsghdr messages[kReceiveBatch];
    iovec vectors[kReceiveBatch];
    sockaddr_in sources[kReceiveBatch];
    size_t handled = 0;
    while (handled < kReceivePerWake)
    {
        for (size_t i = 0; i < kReceiveBatch; ++i)
        {
            vectors[i] = {buffers.data() + i * (kApPacketMaxSize + 1), kApPacketMaxSize + 1};
            messages[i] = {};
            messages[i].msg_hdr.msg_iov = &vectors[i];
            messages[i].msg_hdr.msg_iovlen = 1;
            messages[i].msg_hdr.msg_name = &sources[i];
            messages[i].msg_hdr.msg_namelen = sizeof(sources[i]);
        }
        const int count = recvmmsg(socket, messages, kReceiveBatch, MSG_DONTWAIT, nullptr);
        if (count <= 0)
            return;
        for (int i = 0; i < count; ++i)
        {
            ++m_received;
            const size_t length = messages[i].msg_len;
            if (messages[i].msg_hdr.msg_flags & MSG_TRUNC)
                continue;
            HandleDatagram({buffers.data() + static_cast<size_t>(i) * (kApPacketMaxSize + 1), length}, sources[i],
                           localPort);
        }
        handled += static_cast<size_t>(count);
    }
}

void CSimEngine::SendFromDevice(size_t index, uint16_t msgType, std::span<const uint8_t> payload, const Ipv4Bytes& to,
                                uint16_t port)
{
    const CSimDevice& device = m_devices[index];
    auto datagram = EncodeDevicePacket(device.Model(), msgType, device.Mac(), payload);
    if (!datagram)
        return;
    Transmit(Outgoing{std::move(*datagram), SocketAddress(to, port), device.Ip()});
}

void CSimEngine::Transmit(Outgoing outgoing)
{
    const sockaddr_in source = SocketAddress(outgoing.from, kRequestPort);
    const bool dropped = Drop();
    LogDatagram("out", source, outgoing.to, outgoing.datagram, dropped);
    if (dropped)
        return;
    if (m_outgoing.empty() && SendNow(outgoing))
        return;
    m_outgoing.push_back(std::move(outgoing));
    WatchOutput(true);
}

bool CSimEngine::SendNow(Outgoing& outgoing)
{
    // The device's own address as the source: the tool knows a device by where its datagrams come from.
    in_addr source{};
    std::memcpy(&source, outgoing.from.data(), 4);
    if (SendWithSourceAddress(m_requestSocket.Get(), outgoing.to, source, outgoing.datagram, MSG_DONTWAIT) >= 0)
    {
        ++m_sent;
        return true;
    }
    // A full send buffer waits for room; any other failure loses the datagram, as on a real LAN.
    return !(errno == EAGAIN || errno == EWOULDBLOCK || errno == ENOBUFS);
}

void CSimEngine::WatchOutput(bool on)
{
    if (on == m_waitingForOutput)
        return;
    epoll_event event{};
    event.events = on ? EPOLLIN | EPOLLOUT : EPOLLIN;
    event.data.fd = m_requestSocket.Get();
    epoll_ctl(m_epoll.Get(), EPOLL_CTL_MOD, m_requestSocket.Get(), &event);
    m_waitingForOutput = on;
}

void CSimEngine::FlushOutgoing()
{
    while (!m_outgoing.empty())
    {
        if (!SendNow(m_outgoing.front()))
            return;
        m_outgoing.pop_front();
    }
    WatchOutput(false);
}

bool CSimEngine::Drop()
{
    if (m_options.dropProbability <= 0)
        return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < m_options.dropProbability;
}

void CSimEngine::LogDatagram(const char* direction, const sockaddr_in& source, const sockaddr_in& target,
                             std::span<const uint8_t> datagram, bool dropped)
{
    if (m_datagramLog == nullptr)
        return;
    char from[INET_ADDRSTRLEN] = {};
    char to[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &source.sin_addr, from, sizeof(from));
    inet_ntop(AF_INET, &target.sin_addr, to, sizeof(to));
    unsigned type = 0;
    std::string mac;
    if (datagram.size() >= kApPacketHeadSize)
    {
        type = static_cast<unsigned>(datagram[4] | datagram[5] << 8);
        mac = MacBytesToText(datagram.subspan<8, 6>());
    }
    std::fprintf(m_datagramLog,
                 "{\"t\":%.3f,\"dir\":\"%s\",\"from\":\"%s:%u\",\"to\":\"%s:%u\",\"type\":%u,\"mac\":\"%s\","
                 "\"len\":%zu,\"dropped\":%s}\n",
                 Now(), direction, from, ntohs(source.sin_port), to, ntohs(target.sin_port), type, mac.c_str(),
                 datagram.size(), dropped ? "true" : "false");
    m_logWritten = true;
}
