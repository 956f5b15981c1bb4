// A sender for the device link engine that keeps what would have left the machine, so that tests of
// the engine and of the pages check the exact datagrams with no socket.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "common/datagram_head.h"
#include "link/packet_sender.h"

struct SentDatagram
{
    ap_send_route route;
    std::vector<uint8_t> bytes;

    uint16_t Type() const { return DatagramType(bytes); }
    std::string Mac() const { return DatagramMac(bytes); }
};

// What a capturing sender kept; shared with the test, which may outlive the engine or not.
class CSendCapture
{
public:
    std::vector<SentDatagram> Take()
    {
        std::lock_guard guard(m_lock);
        return std::exchange(m_datagrams, {});
    }
    std::vector<broadcast_target_info> Frames()
    {
        std::lock_guard guard(m_lock);
        return m_frames;
    }
    int Refreshes()
    {
        std::lock_guard guard(m_lock);
        return m_refreshes;
    }

    void AddDatagram(SentDatagram datagram)
    {
        std::lock_guard guard(m_lock);
        m_datagrams.push_back(std::move(datagram));
    }
    void AddFrame(const broadcast_target_info& target)
    {
        std::lock_guard guard(m_lock);
        m_frames.push_back(target);
    }
    void AddRefresh()
    {
        std::lock_guard guard(m_lock);
        ++m_refreshes;
    }

private:
    std::mutex m_lock;
    std::vector<SentDatagram> m_datagrams;
    std::vector<broadcast_target_info> m_frames;
    int m_refreshes = 0;
};

class CCapturingSender : public CApSender
{
public:
    explicit CCapturingSender(std::shared_ptr<CSendCapture> capture) : m_capture(std::move(capture)) {}

    bool SendPacket(const ap_send_route& route, std::span<const uint8_t> datagram) override
    {
        m_capture->AddDatagram({route, std::vector<uint8_t>(datagram.begin(), datagram.end())});
        return true;
    }
    void RefreshCaptureDevices() override { m_capture->AddRefresh(); }
    bool SendAnnouncement(const broadcast_target_info& target) override
    {
        m_capture->AddFrame(target);
        return true;
    }

private:
    std::shared_ptr<CSendCapture> m_capture;
};

// The capture of the process-wide engine, for tests that start the program in-process.
inline std::shared_ptr<CSendCapture> ProcessSendCapture()
{
    static const std::shared_ptr<CSendCapture> capture = std::make_shared<CSendCapture>();
    return capture;
}
