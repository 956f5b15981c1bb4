// The managed-device table: every device that answered a discover, pending until its configuration
// report is accepted, then configured while its heartbeats keep coming.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/config_info.h"
#include "link/packet_head.h"
#include "link/wire_types.h"

constexpr uint8_t kManageApPending = 1;
constexpr uint8_t kManageApConfigured = 2;
// Heartbeat checks a configured device survives without a heartbeat (it goes at the next one).
constexpr uint8_t kHeartbeatCountdown = 3;

struct manage_ap_info
{
    std::string ip;         // where the tool reaches the device
    std::string pending_ip; // a new address a page asked for, not yet confirmed
    std::string mac;        // the key
    uint16_t ap_type;
    uint8_t state; // kManageApPending or kManageApConfigured
    uint8_t countdown;
    uint32_t up_time;
    ap_text_field<32> version;
    uint8_t work_mode;
    uint8_t mode_btn_status;
    ap_text_field<32> ap_name; // local text
    ap_text_field<32> ssid;    // local text
    uint8_t channel;
    uint8_t bridge_transparent;
    uint8_t tdmaEn;
};

class CManageApTable
{
public:
    // A discover report: adds a pending record for a new MAC or refreshes the known one. True when
    // the device is to be asked for its configuration (new, pending, or reporting from an address
    // other than its configured one). An all-zero MAC logs "pack mac is 0" and gives false.
    bool AddManageAp(const ap_packet_info& packet);

    // A heartbeat: countdown, up time, version and address of the MAC's record. False without one.
    bool UpdateManageApHeartbeat(const ap_packet_info& packet);

    // A configuration report: accepted (the record becomes configured at the report's address) when
    // the MAC has a record and no other configured record holds that address.
    bool ModifyManageApConfig(const ap_packet_info& packet);

    // A page's IP change ahead of its request: the configured record at ip expects newIp.
    void UpdateManageApIp(const std::string& mac, const std::string& ip, const std::string& newIp);
    // The device's answer to the IP request: the record at ip moves to its expected address.
    void UpdateManageApIp(const std::string& mac, const std::string& ip);

    // One heartbeat check: configured countdowns go down, records at 0 are removed and returned.
    std::vector<manage_ap_info> CheckHeartbeat();

    // Calls send for every pending record, under the table's lock.
    void ForEachPending(const std::function<void(const manage_ap_info&)>& send);
    void DeletePending();

    // The MACs of the list that no record has (exact comparison).
    std::vector<std::string> UnmanagedMacs(const std::vector<std::string>& macs) const;

    // Rows (status 10) of the pending records whose IP, MAC or version text holds the filter (every
    // pending record without one), at most maximum of them.
    void GetPendingApList(std::vector<ap_info_stu>& rows, int maximum, std::optional<std::string_view> filter) const;

    std::vector<manage_ap_info> Snapshot() const;

private:
    mutable std::mutex m_lock;
    std::vector<manage_ap_info> m_records;
};
