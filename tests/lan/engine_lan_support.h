// Running the engine inside a test LAN from the test process itself: the calling thread enters the
// tool host's namespace, so every socket the engine opens and every thread it starts lives there;
// device-side peers are plain sockets opened inside a device host.
#pragma once

#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sched.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "common/netns_socket.h"
#include "common/test_lan.h"
#include "link/device_protocol.h"
#include "link/unique_fd.h"

// The calling thread inside a named namespace until the scope ends. Sockets opened meanwhile stay
// in it; threads started meanwhile start in it.
class CNamespaceScope
{
public:
    explicit CNamespaceScope(const std::string& name)
    {
        m_previous.Reset(open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC));
        const CUniqueFd target(open(("/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC));
        m_entered = m_previous && target && setns(target.Get(), CLONE_NEWNET) == 0;
    }
    ~CNamespaceScope()
    {
        if (m_entered)
            setns(m_previous.Get(), CLONE_NEWNET);
    }
    CNamespaceScope(const CNamespaceScope&) = delete;
    CNamespaceScope& operator=(const CNamespaceScope&) = delete;

    bool Entered() const { return m_entered; }

private:
    CUniqueFd m_previous;
    bool m_entered = false;
};

// A device of a test LAN as far as a test needs one: an address on a device host, a socket that
// receives the tool's requests through the group and one that sends from the device's address.
class CLanPeerDevice
{
public:
    CLanPeerDevice(CTestLan& lan, const std::string& host, const std::string& ip, MacBytes mac, uint16_t apType = 261)
        : m_ip(ip), m_mac(mac), m_apType(apType),
          m_addressAdded(lan.Run(host, {"ip", "addr", "add", ip + "/16", "dev", "eth0"}) == 0),
          m_requests(lan.Namespace(host), ip, kRequestPort, {.joinRequestGroup = true}),
          m_sender(lan.Namespace(host), ip, 0)
    {
    }

    bool Ready() const { return m_addressAdded && m_requests.Valid() && m_sender.Valid(); }
    const std::string& Ip() const { return m_ip; }
    std::string MacText() const { return MacBytesToText(m_mac); }
    const CNetnsSocket& Requests() const { return m_requests; }

    // The requests addressed to this device within the timeout, the others dropped.
    std::vector<NetnsDatagram> RequestsFor(std::chrono::milliseconds quiet) const
    {
        std::vector<NetnsDatagram> mine;
        for (NetnsDatagram& datagram : m_requests.ReceiveAll(quiet))
            if (datagram.Mac() == MacText())
                mine.push_back(std::move(datagram));
        return mine;
    }

    bool Send(uint16_t msgType, uint16_t port, std::span<const uint8_t> payload = {}) const
    {
        return m_sender.SendTo("10.77.0.1", port, EncodeDevicePacket(m_apType, msgType, m_mac, payload).value());
    }
    bool SendDiscoverReport() const
    {
        ap_discover_info report;
        std::memset(&report, 0, sizeof(report));
        report.version.Assign("V1.0.0");
        report.ap_name.Assign("peer");
        return Send(kMsgDiscover, kDiscoverReportPort, RecordBytes(report));
    }
    bool SendConfigReport() const
    {
        ap_config_info config;
        std::memset(&config, 0, sizeof(config));
        config.ap_type = m_apType;
        const Ipv4Bytes address = IpTextToBytes(m_ip);
        std::copy(address.begin(), address.end(), config.ip);
        config.version.Assign("V1.0.0");
        return Send(kMsgConfigQuery, kReplyPort, RecordBytes(config));
    }
    bool SendHeartbeat(uint32_t upTime) const
    {
        ap_heartbeat_info heartbeat;
        std::memset(&heartbeat, 0, sizeof(heartbeat));
        heartbeat.version.Assign("V1.0.0");
        heartbeat.up_time = upTime;
        return Send(kMsgHeartbeat, kHeartbeatPort, RecordBytes(heartbeat));
    }

private:
    std::string m_ip;
    MacBytes m_mac;
    uint16_t m_apType;
    bool m_addressAdded;
    CNetnsSocket m_requests;
    CNetnsSocket m_sender;
};

inline size_t CountOccurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}
