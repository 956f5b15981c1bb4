// fieldmate-cli against simulated devices in a test LAN: what discover finds, how monitor sees a
// device go silent, searching through heavy loss, and the exit codes of its failures.
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "common/program_dir_copy.h"
#include "common/temp_dir.h"
#include "common/test_lan.h"
#include "common/wait_for.h"

namespace
{

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string kSim = FIELDMATE_BINARY_DIR "/fieldmate-sim";

class CliLan : public testing::Test
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_TEST_LAN();
        CopyProgramFiles(m_program.Path(), {"fieldmate-cli", "libLocalAdapter.so"});
        m_state = m_program.Path() + "sim.json";
        m_control = m_program.Path() + "sim.ctl";
    }

    void StartLan(const TestLanOptions& options = {})
    {
        m_lan = std::make_unique<CTestLan>(testing::UnitTest::GetInstance()->current_test_info()->name(), options);
        ASSERT_TRUE(m_lan->IsUp());
    }

    void StartSim(std::vector<std::string> arguments)
    {
        std::vector<std::string> command = {kSim, "--state", m_state, "--control", m_control};
        command.insert(command.end(), arguments.begin(), arguments.end());
        m_sim = m_lan->Start("dev1", command);
        ASSERT_TRUE(WaitFor([this] { return m_sim.Output().find("devices on eth0") != std::string::npos; }, 20s))
            << m_sim.Output();
    }

    std::vector<std::string> Cli(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), m_program.Path() + "fieldmate-cli");
        return arguments;
    }

    // Every test gets its own lock directory, so a second copy is only what the test starts.
    std::map<std::string, std::string> Environment() const { return {{"XDG_RUNTIME_DIR", m_program.Path()}}; }

    int RunCli(const std::vector<std::string>& arguments, std::string* output)
    {
        return m_lan->Run("tool", Cli(arguments), output, Environment());
    }

    nlohmann::json SimState()
    {
        std::ifstream file(m_state);
        return nlohmann::json::parse(file, nullptr, false);
    }

    CTempDir m_program;
    std::string m_state;
    std::string m_control;
    std::unique_ptr<CTestLan> m_lan;
    CLanProcess m_sim;
};

// The JSON array on the output, after anything else the run printed.
nlohmann::json JsonOutput(const std::string& output)
{
    return nlohmann::json::parse(output.substr(std::min(output.find('['), output.size())), nullptr, false);
}

TEST_F(CliLan, DiscoverFindsFiftyDevicesWithTheirNameAddressModelAndVersion)
{
    StartLan();
    StartSim({"--count", "50"});
    std::string output;
    ASSERT_EQ(RunCli({"discover", "--seconds", "6", "--format", "json"}, &output), 0) << output;
    const nlohmann::json found = JsonOutput(output);
    ASSERT_TRUE(found.is_array()) << output;
    std::map<std::string, nlohmann::json> byMac;
    for (const auto& device : found)
        byMac[device["mac"]] = device;
    const nlohmann::json simulated = SimState();
    ASSERT_EQ(simulated.size(), 50u);
    ASSERT_EQ(byMac.size(), 50u) << output;
    for (const auto& device : simulated)
    {
        const auto& shown = byMac[device["mac"]];
        EXPECT_EQ(shown["ip"], device["ip"]);
        EXPECT_EQ(shown["name"], device["name"]);
        EXPECT_EQ(shown["type"], device["type"]);
        EXPECT_EQ(shown["model"], device["model"]);
        EXPECT_EQ(shown["version"], device["version"]);
        EXPECT_EQ(shown["ssid"], device["ssid"]);
        EXPECT_EQ(shown["pending"], false);
        EXPECT_EQ(shown["status_text"], "Online");
    }
    // The table shows the same devices, one line each after the header, in address order.
    ASSERT_EQ(RunCli({"discover", "--seconds", "4"}, &output), 0) << output;
    std::istringstream lines(output);
    std::vector<std::string> table;
    for (std::string line; std::getline(lines, line);)
        table.push_back(line);
    ASSERT_EQ(table.size(), 51u) << output;
    EXPECT_NE(table[1].find("10.77.1.1 "), std::string::npos) << table[1];
    EXPECT_NE(table[50].find("10.77.1.50 "), std::string::npos) << table[50];
}

TEST_F(CliLan, ADeviceWhoseHeartbeatsStopLeavesMonitorThirtyToFortySecondsLater)
{
    StartLan();
    StartSim({"--count", "3", "--heartbeat-interval", "0.5"});
    CLanProcess monitor = m_lan->Start("tool", Cli({"monitor", "--seconds", "70", "--search"}), Environment());
    const std::string silent = "02:46:4d:00:00:02";
    auto lastLine = [&monitor]
    {
        const std::string output = monitor.Output();
        const size_t end = output.rfind('\n');
        const size_t start = end == std::string::npos ? std::string::npos : output.rfind('\n', end - 1);
        if (end == std::string::npos)
            return nlohmann::json();
        return nlohmann::json::parse(output.substr(start == std::string::npos ? 0 : start + 1, end), nullptr, false);
    };
    auto shown = [&](const std::string& mac)
    {
        const nlohmann::json line = lastLine();
        if (!line.is_object())
            return false;
        for (const auto& device : line["devices"])
            if (device["mac"] == mac)
                return true;
        return false;
    };
    ASSERT_TRUE(WaitFor([&] { return lastLine().is_object() && lastLine()["devices"].size() == 3; }, 15s))
        << monitor.Output();

    // Muted, the device sends nothing more; its last heartbeat left at most one interval before.
    ASSERT_EQ(m_lan->Run("", {kSim, "control", m_control, "mute", silent}), 0);
    const auto muted = Clock::now();
    ASSERT_TRUE(WaitFor([&] { return !shown(silent); }, 50s, 100ms)) << monitor.Output();
    const double gone = std::chrono::duration<double>(Clock::now() - muted).count();
    // 30 to 40 s after the last heartbeat, seen within a second (one monitor line) and 0.1 s of polling.
    EXPECT_GE(gone, 30.0 - 0.5);
    EXPECT_LE(gone, 40.0 + 1.2);
    EXPECT_EQ(lastLine()["devices"].size(), 2u) << "the others keep their heartbeats";
    EXPECT_EQ(monitor.Stop(), 0) << "SIGTERM ends monitor cleanly";
}

TEST_F(CliLan, ThirtyPercentLossBothWaysStillFindsEveryDeviceInAThirtySecondSearch)
{
    // A device stays unseen when each of the ten broadcasts or its report to it is lost, about
    // 0.51^10 per device: one run in fifty with twenty devices. So the test asks the loss which
    // reports got through, and every one of those devices must be listed, stored or pending.
    constexpr size_t kDevices = 20;
    StartLan({.lossPercent = 30});
    StartSim({"--count", std::to_string(kDevices)});
    std::string output;
    ASSERT_EQ(RunCli({"discover", "--seconds", "30", "--format", "json"}, &output), 0) << output;
    const TestLanLossStats loss = m_lan->LossStats();
    EXPECT_GT(loss.droppedIn, 0);
    EXPECT_GT(loss.droppedOut, 0);
    ASSERT_GE(loss.reached.size(), kDevices / 2) << "nearly every device gets through ten broadcasts";

    const nlohmann::json found = JsonOutput(output);
    ASSERT_TRUE(found.is_array()) << output;
    std::set<std::string> foundIps;
    size_t stored = 0;
    for (const auto& device : found)
    {
        foundIps.insert(device["ip"].get<std::string>());
        stored += device["pending"] == false ? 1 : 0;
    }
    EXPECT_EQ(foundIps, loss.reached) << output;
    EXPECT_GE(stored, loss.reached.size() * 9 / 10) << output;
}

TEST_F(CliLan, FailuresHaveTheirOwnExitCodesAndMessages)
{
    StartLan();
    std::string output;
    EXPECT_EQ(RunCli({"discover", "--format", "xml"}, &output), 2);
    EXPECT_NE(output.find("unknown format xml"), std::string::npos) << output;

    // A second copy while one runs.
    CLanProcess first = m_lan->Start("tool", Cli({"monitor", "--seconds", "30"}), Environment());
    ASSERT_TRUE(WaitFor([&first] { return first.Output().find("\"t\"") != std::string::npos; }, 10s)) << first.Output();
    EXPECT_EQ(RunCli({"adapters"}, &output), 3);
    EXPECT_NE(output.find("another copy of Fieldmate is running"), std::string::npos) << output;
    EXPECT_EQ(first.Stop(), 0);

    // A port of the device link held by another program without address reuse.
    CLanProcess holder = m_lan->Start(
        "tool", {"python3", "-c",
                 "import socket,time;s=socket.socket(socket.AF_INET,socket.SOCK_DGRAM);s.bind(('0.0.0.0',9788));"
                 "print('bound',flush=True);time.sleep(60)"});
    ASSERT_TRUE(WaitFor([&holder] { return holder.Output().find("bound") != std::string::npos; }, 10s));
    EXPECT_EQ(RunCli({"discover", "--seconds", "1"}, &output), 4);
    EXPECT_NE(output.find("the device link could not start"), std::string::npos) << output;
    EXPECT_NE(output.find("9788"), std::string::npos) << output;
    holder.Stop();

    ASSERT_EQ(RunCli({"adapters", "--format", "json"}, &output), 0) << output;
    const nlohmann::json adapters = JsonOutput(output);
    ASSERT_EQ(adapters.size(), 1u) << output;
    EXPECT_EQ(adapters[0]["ip"], "10.77.0.1");
}

} // namespace
