#include "link/raw_frames.h"

#include <algorithm>
#include <memory>

#include <pcap/pcap.h>

namespace
{

struct PcapCloser
{
    void operator()(pcap_t* handle) const { pcap_close(handle); }
};

struct DeviceListFreer
{
    void operator()(pcap_if_t* list) const { pcap_freealldevs(list); }
};

void PutU16(uint8_t* at, uint16_t value)
{
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value);
}

} // namespace

std::array<uint8_t, kAnnouncementFrameSize> BuildAnnouncementFrame(const MacBytes& mac, const std::string& ip)
{
    std::array<uint8_t, kAnnouncementFrameSize> frame{};
    const Ipv4Bytes address = IpTextToBytes(ip);
    std::fill_n(frame.begin(), 6, 0xff);           // Ethernet destination: everyone
    std::copy(mac.begin(), mac.end(), &frame[6]);  // Ethernet source
    PutU16(&frame[12], 0x0806);                    // ARP
    PutU16(&frame[14], 1);                         // hardware: Ethernet
    PutU16(&frame[16], 0x0800);                    // protocol: IPv4
    frame[18] = 6;                                 // hardware address length
    frame[19] = 4;                                 // protocol address length
    PutU16(&frame[20], 1);                         // request
    std::copy(mac.begin(), mac.end(), &frame[22]); // sender hardware address
    std::copy(address.begin(), address.end(), &frame[28]);
    std::fill_n(&frame[32], 6, 0xff); // target hardware address
    std::copy(address.begin(), address.end(), &frame[38]);
    return frame; // 18 bytes of zero padding follow
}

void CRawFrames::RefreshCaptureDevices()
{
    char error[PCAP_ERRBUF_SIZE] = {};
    pcap_if_t* found = nullptr;
    std::vector<std::string> names;
    if (pcap_findalldevs(&found, error) == 0)
    {
        const std::unique_ptr<pcap_if_t, DeviceListFreer> list(found);
        for (const pcap_if_t* device = list.get(); device != nullptr; device = device->next)
            if (device->name != nullptr)
                names.emplace_back(device->name);
    }
    std::lock_guard guard(m_lock);
    m_devices = std::move(names);
}

bool CRawFrames::SendAnnouncement(const broadcast_target_info& target)
{
    std::string device;
    {
        std::lock_guard guard(m_lock);
        if (!m_devices)
            return false;
        // Capture devices are named after their interface here, so the adapter's device is the one
        // of the same name (a substring match would take "veth0" for "eth0").
        const auto match = std::find(m_devices->begin(), m_devices->end(), target.name);
        if (match == m_devices->end())
            return false;
        device = *match;
    }
    char error[PCAP_ERRBUF_SIZE] = {};
    const std::unique_ptr<pcap_t, PcapCloser> handle(pcap_open_live(device.c_str(), 65536, 0, 1000, error));
    if (!handle)
        return false;
    const auto frame = BuildAnnouncementFrame(target.mac, target.address);
    pcap_setnonblock(handle.get(), 1, error);
    return pcap_sendpacket(handle.get(), frame.data(), static_cast<int>(frame.size())) == 0;
}
