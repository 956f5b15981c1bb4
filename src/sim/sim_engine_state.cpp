// The simulator's outside views: the JSON state file and the control socket.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "sim/sim_engine.h"
#include "store/model_table.h"

namespace
{

constexpr double kStateWriteDelay = 0.5;

std::string ModelName(uint16_t code)
{
    for (const ModelEntry& entry : ModelTable())
        if (entry.code == code)
            return std::string(entry.label);
    return "";
}

std::string Ip(const uint8_t (&bytes)[4])
{
    return IpBytesToText(std::span<const uint8_t, 4>(bytes, 4));
}

} // namespace

void CSimEngine::MarkChanged()
{
    m_stateDirty = true;
    if (m_options.stateFile.empty() || m_stateWriteScheduled)
        return;
    m_stateWriteScheduled = true;
    m_timers.Add(Now() + kStateWriteDelay,
                 [this]
                 {
                     m_stateWriteScheduled = false;
                     WriteState();
                 });
}

void CSimEngine::WriteState()
{
    if (m_options.stateFile.empty() || !m_stateDirty)
        return;
    m_stateDirty = false;
    const double now = Now();
    nlohmann::json devices = nlohmann::json::array();
    for (const CSimDevice& device : m_devices)
    {
        const ap_config_info& config = device.Config();
        nlohmann::json tools = nlohmann::json::array();
        for (const SimTool& tool : device.Tools())
            tools.push_back(IpBytesToText(tool.ip));
        nlohmann::json requests = nlohmann::json::object();
        for (size_t type = 0; type < std::size(device.requestCounts); ++type)
            if (device.requestCounts[type] != 0)
                requests[std::to_string(type)] = device.requestCounts[type];
        devices.push_back({
            {"mac", device.MacText()},
            {"ip", IpBytesToText(device.Ip())},
            {"mask", Ip(config.ip_mask)},
            {"gateway", Ip(config.ip_gateway)},
            {"type", device.Model()},
            {"model", ModelName(device.Model())},
            {"name", config.ap_name.Str()},
            {"version", config.version.Str()},
            {"work_mode", config.work_mode},
            {"ssid", config.ssid.Str()},
            {"channel", config.channel},
            {"security", config.secure_mode},
            {"tx_power", config.tx_power},
            {"up_time", device.UpTime(now)},
            {"bridge_transparent", config.bridge_transparent},
            {"tdma", config.tdmaEn},
            {"vlan_en", config.vlan_en},
            {"vlan_id", uint16_t{config.vlan_id}},
            {"restart_en", config.restart_en},
            {"restart_time", uint16_t{config.restart_time}},
            {"state", device.muted         ? "muted"
                      : device.Silent(now) ? "rebooting"
                                           : "running"},
            {"tools", tools},
            {"requests", requests},
        });
    }
    const std::string temporary = m_options.stateFile + ".tmp";
    {
        std::ofstream file(temporary, std::ios::trunc);
        // Texts as the device holds them; bytes that are not UTF-8 are replaced rather than refused.
        file << devices.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
        if (!file)
            return;
    }
    std::rename(temporary.c_str(), m_options.stateFile.c_str());
}

void CSimEngine::AcceptControl()
{
    while (true)
    {
        const int client = accept4(m_controlSocket.Get(), nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            return;
        // A command is one short line sent at once; a client that dawdles gets a second.
        timeval limit{1, 0};
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
        std::string line;
        char buffer[512];
        while (line.find('\n') == std::string::npos && line.size() < 4096)
        {
            const ssize_t received = recv(client, buffer, sizeof(buffer), 0);
            if (received <= 0)
                break;
            line.append(buffer, static_cast<size_t>(received));
        }
        line = line.substr(0, line.find('\n'));
        const std::string reply = Command(line) + "\n";
        [[maybe_unused]] const ssize_t ignored = send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
        close(client);
    }
}

std::string CSimEngine::Command(const std::string& line)
{
    const size_t space = line.find(' ');
    const std::string verb = line.substr(0, space);
    const std::string argument = space == std::string::npos ? "" : line.substr(space + 1);
    if (verb == "dump")
    {
        m_stateDirty = true;
        WriteState();
        return "ok";
    }
    if (verb == "mute" || verb == "unmute")
    {
        const bool mute = verb == "mute";
        if (argument == "all")
        {
            for (CSimDevice& device : m_devices)
                device.muted = mute;
        }
        else
        {
            const auto found = m_byMac.find(argument);
            if (found == m_byMac.end())
                return "error: no device " + argument;
            m_devices[found->second].muted = mute;
        }
        MarkChanged();
        return "ok";
    }
    return "error: unknown command " + line;
}
