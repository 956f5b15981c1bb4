// A test LAN of network namespaces (scripts/testlan.sh) and processes started inside it.
// Every LAN test goes through this, so the device protocol never touches the machine's own network.
#pragma once

#include <chrono>
#include <map>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

struct TestLanOptions
{
    int deviceHosts = 1;
    bool secondToolAddress = false;
    int lossPercent = 0;
};

// What the random loss of the tool host did so far.
struct TestLanLossStats
{
    long droppedIn = 0;
    long droppedOut = 0;
    std::set<std::string> reached; // addresses of the devices whose discover report got through
};

// A process running in one host of a test LAN; ended (TERM, then KILL) when the owner goes.
class CLanProcess
{
public:
    CLanProcess() = default;
    CLanProcess(pid_t pid, std::string outputPath);
    CLanProcess(CLanProcess&& other) noexcept;
    CLanProcess& operator=(CLanProcess&& other) noexcept;
    ~CLanProcess();

    pid_t Pid() const { return m_pid; }
    bool Running();
    // Sends SIGTERM and waits; returns the exit status (or -1 when killed by force).
    int Stop(std::chrono::milliseconds grace = std::chrono::seconds(10));
    // Waits for the end; -1 on timeout (the process keeps running).
    int Wait(std::chrono::milliseconds timeout);
    // stdout and stderr together, as written so far.
    std::string Output() const;

private:
    pid_t m_pid = -1;
    int m_exitStatus = -1;
    std::string m_outputPath;
};

class CTestLan
{
public:
    // True when namespaces can be made here (root, iproute2); otherwise why not.
    static bool Available(std::string* why);

    // name distinguishes LANs of one test process; the LAN id also carries the process id.
    explicit CTestLan(const std::string& name, const TestLanOptions& options = {});
    ~CTestLan();
    CTestLan(const CTestLan&) = delete;
    CTestLan& operator=(const CTestLan&) = delete;

    bool IsUp() const { return m_up; }
    const std::string& Id() const { return m_id; }
    std::string Namespace(const std::string& host) const; // "tool", "dev1", ...

    // Runs a command in a host and waits for it; returns its exit status, output in *output.
    int Run(const std::string& host, const std::vector<std::string>& command, std::string* output = nullptr,
            const std::map<std::string, std::string>& environment = {});

    // Starts a command in a host in the background.
    CLanProcess Start(const std::string& host, const std::vector<std::string>& command,
                      const std::map<std::string, std::string>& environment = {});

    void SetLoss(int percent);
    TestLanLossStats LossStats();

private:
    std::string m_id;
    bool m_up = false;
    std::string m_outputDirectory;
    int m_started = 0;
};

// GTEST_SKIP unless a test LAN can be made.
#define SKIP_WITHOUT_TEST_LAN()                                                                                        \
    do                                                                                                                 \
    {                                                                                                                  \
        std::string whyNot;                                                                                            \
        if (!CTestLan::Available(&whyNot))                                                                             \
            GTEST_SKIP() << "LAN test skipped: " << whyNot;                                                            \
    } while (0)
