// The simulator's one event loop: the devices' sockets, the timer queue, the control socket and the
// results of firmware fetches, all driven by epoll on one thread.
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <random>
#include <span>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "link/unique_fd.h"
#include "sim/interface_addresses.h"
#include "sim/sim_device.h"
#include "sim/sim_options.h"
#include "sim/timer_queue.h"

class CSimEngine
{
public:
    explicit CSimEngine(CSimOptions options);
    ~CSimEngine();
    CSimEngine(const CSimEngine&) = delete;
    CSimEngine& operator=(const CSimEngine&) = delete;

    // Addresses on the interface, sockets, group membership, control socket. False with *error.
    bool Start(std::string* error);

    // Runs until stopFd becomes readable; returns the exit code.
    int Run(int stopFd);

private:
    struct Outgoing
    {
        std::vector<uint8_t> datagram;
        sockaddr_in to;
        Ipv4Bytes from;
    };
    struct FetchDone
    {
        size_t device;
        uint64_t life;
        Ipv4Bytes tool;
        bool ok;
        size_t bytes;
        size_t expected;
        std::string file;
        std::string error;
    };

    double Now() const;
    void ReceiveAll(int socket, uint16_t localPort);
    void HandleDatagram(std::span<const uint8_t> datagram, const sockaddr_in& from, uint16_t localPort);
    void HandleRequest(size_t index, uint16_t msgType, std::span<const uint8_t> payload, const Ipv4Bytes& tool);
    void AnswerDiscover(const Ipv4Bytes& tool);
    void SendFromDevice(size_t index, uint16_t msgType, std::span<const uint8_t> payload, const Ipv4Bytes& to,
                        uint16_t port);
    void Transmit(Outgoing outgoing);
    bool SendNow(Outgoing& outgoing); // false when the socket has no room now
    void WatchOutput(bool on);
    void FlushOutgoing();
    // A job for the device's present life: a restart in between cancels it.
    void AddDeviceTimer(size_t index, double when, std::function<void(CSimDevice&)> job);
    void SendConfigReport(size_t index, const Ipv4Bytes& tool);
    void ScheduleHeartbeat(size_t index, double when);
    void Heartbeat(size_t index, CSimDevice& device);
    void MoveDevice(size_t index, const Ipv4Bytes& ip, int prefixLength);
    void BeginReboot(size_t index);
    void StartFetch(size_t index, const Ipv4Bytes& tool, const std::string& file, size_t expected);
    void FinishFetches();
    void AcceptControl();
    std::string Command(const std::string& line);
    void MarkChanged();
    void WriteState();
    void LogDatagram(const char* direction, const sockaddr_in& source, const sockaddr_in& target,
                     std::span<const uint8_t> datagram, bool dropped);
    bool Drop();
    bool UseAddress(const Ipv4Bytes& ip, int prefixLength);
    void ReleaseAddress(const Ipv4Bytes& ip, int prefixLength);

    CSimOptions m_options;
    std::vector<CSimDevice> m_devices;
    std::unordered_map<std::string, size_t> m_byMac;
    std::map<std::pair<uint32_t, int>, int> m_addressUse; // address and prefix -> devices using it
    CInterfaceAddresses m_addresses;
    CTimerQueue m_timers;
    std::mt19937_64 m_random;
    double m_startTime = 0;

    CUniqueFd m_epoll;
    CUniqueFd m_discoverSocket; // 9786: discover broadcasts
    CUniqueFd m_requestSocket;  // 9787: requests through the group; every answer leaves from here
    CUniqueFd m_controlSocket;
    CUniqueFd m_wakeFd; // eventfd: a firmware fetch has finished
    bool m_waitingForOutput = false;
    std::deque<Outgoing> m_outgoing;

    std::mutex m_fetchMutex;
    std::vector<FetchDone> m_fetchesDone;
    std::vector<std::thread> m_fetchThreads;

    FILE* m_datagramLog = nullptr;
    bool m_logWritten = false;
    bool m_stateDirty = true;
    bool m_stateWriteScheduled = false;

    uint64_t m_received = 0;
    uint64_t m_sent = 0;
};
