// One emulated device: its configuration record, the tools it sends heartbeats to, and what each
// request does to it. No sockets here: the simulator's loop sends what these methods describe.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/address_text.h"
#include "link/config_info.h"
#include "link/device_reports.h"
#include "link/survey_info.h"

// A tool that acknowledged the device: it gets heartbeats until it releases the device or stops
// acknowledging for kToolForgetSeconds.
struct SimTool
{
    Ipv4Bytes ip;
    double lastAck; // seconds of the simulator's clock
};

constexpr double kToolForgetSeconds = 90.0;

// What handling one request asks of the simulator besides the answer.
struct SimRequestOutcome
{
    bool answer = true;                              // send the answer of the request's type
    uint8_t result = 0;                              // first payload byte of the answer: 0 success, 1 failure
    std::optional<std::pair<Ipv4Bytes, int>> moveTo; // new address and prefix, after the answer
    bool reboot = false;                             // silence, then a fresh start (reboot, restore, finished upgrade)
    std::optional<std::string> fetchFile;            // upgrade order: fetch this file from the requester
    bool startFlash = false;                         // upgrade start with a fetched image
    bool changed = false;                            // the record changed (the state file is due)
};

class CSimDevice
{
public:
    CSimDevice(const MacBytes& mac, uint16_t model, const ap_config_info& config, uint32_t upTimeAtStart);

    const MacBytes& Mac() const { return m_mac; }
    const std::string& MacText() const { return m_macText; }
    uint16_t Model() const { return m_model; }
    Ipv4Bytes Ip() const;
    int PrefixLength() const;
    const ap_config_info& Config() const { return m_config; }

    // Seconds since the device (re)started, at the simulator's time now.
    uint32_t UpTime(double now) const;

    ap_discover_info DiscoverReport(double now) const;
    ap_heartbeat_info Heartbeat(double now) const;
    ap_config_info ConfigReport(double now) const;

    // A request of type msgType with its payload, received through the multicast group from a tool.
    SimRequestOutcome HandleRequest(uint16_t msgType, std::span<const uint8_t> payload, const Ipv4Bytes& from,
                                    double now);

    // The device now answers from this address (after a move).
    void SetAddress(const Ipv4Bytes& ip, int prefixLength);

    // Upgrade: the file fetched (or not); then the flash that ends in a new version.
    void SetImage(bool fetched, const std::string& version);
    bool ImageReady() const { return m_imageReady; }
    void FinishFlash();

    // Reboot: tools forgotten, up time from zero at restartAt, settings that waited for a restart
    // applied; gives the new address when that moved the device.
    std::optional<std::pair<Ipv4Bytes, int>> Restart(double restartAt);
    void RestoreFactory();

    // Heartbeats.
    const std::vector<SimTool>& Tools() const { return m_tools; }
    void ForgetStaleTools(double now);

    // Silence: muted by a command, or rebooting until a time.
    bool muted = false;
    double silentUntil = 0;
    bool Silent(double now) const { return muted || now < silentUntil; }

    // Bumped at each restart, so that timers of the earlier life do nothing.
    uint64_t life = 0;
    bool heartbeatScheduled = false;
    // Requests that reached the device, by message type (answered or not), for the state file.
    uint32_t requestCounts[20] = {};

    // A site survey's datagrams: up to 32 entries each.
    std::vector<ap_survey_info> SurveyReports(const std::vector<config_otherwl_basic>& seen) const;

private:
    void AddTool(const Ipv4Bytes& ip, double now);
    void RemoveTool(const Ipv4Bytes& ip);
    std::optional<std::pair<Ipv4Bytes, int>> ApplyIpBlock(std::span<const uint8_t> block);
    void ApplyVlan(std::span<const uint8_t> payload);

    MacBytes m_mac;
    std::string m_macText;
    Ipv4Bytes m_address{}; // where the device answers from; the record's ip once a move is done
    uint16_t m_model;
    ap_config_info m_config;
    ap_config_info m_factory;
    double m_startedAt; // simulator time at which up time was 0 (may be negative)
    std::vector<SimTool> m_tools;
    bool m_imageReady = false;
    std::string m_imageVersion;
    // An IP block that waits for the VLAN change it goes with, or for the next restart.
    std::optional<std::vector<uint8_t>> m_pendingIpBlock;
    bool m_vlanWaitsForIp = false;
    std::optional<std::vector<uint8_t>> m_pendingVlan;
};

// Prefix length of a dotted mask held as bytes (leading one bits).
int PrefixFromMask(const Ipv4Bytes& mask);
Ipv4Bytes MaskFromPrefix(int prefixLength);
