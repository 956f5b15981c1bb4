#include "common/test_lan.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace
{

const std::string kScript = FIELDMATE_SOURCE_DIR "/scripts/testlan.sh";

std::vector<std::string> Environment(const std::map<std::string, std::string>& extra)
{
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry)
    {
        const std::string text = *entry;
        const std::string key = text.substr(0, text.find('='));
        if (extra.count(key) == 0)
            result.push_back(text);
    }
    for (const auto& [key, value] : extra)
        result.push_back(key + "=" + value);
    return result;
}

pid_t Spawn(const std::vector<std::string>& command, const std::string& outputPath,
            const std::map<std::string, std::string>& environment)
{
    std::vector<std::string> arguments = command;
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables = Environment(environment);
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&files, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&files);
    return pid;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

} // namespace

CLanProcess::CLanProcess(pid_t pid, std::string outputPath) : m_pid(pid), m_outputPath(std::move(outputPath)) {}

CLanProcess::CLanProcess(CLanProcess&& other) noexcept
    : m_pid(other.m_pid), m_exitStatus(other.m_exitStatus), m_outputPath(std::move(other.m_outputPath))
{
    other.m_pid = -1;
}

CLanProcess& CLanProcess::operator=(CLanProcess&& other) noexcept
{
    if (this != &other)
    {
        Stop();
        m_pid = other.m_pid;
        m_exitStatus = other.m_exitStatus;
        m_outputPath = std::move(other.m_outputPath);
        other.m_pid = -1;
    }
    return *this;
}

CLanProcess::~CLanProcess()
{
    Stop();
}

bool CLanProcess::Running()
{
    if (m_pid <= 0)
        return false;
    int status = 0;
    const pid_t result = waitpid(m_pid, &status, WNOHANG);
    if (result == 0)
        return true;
    m_exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    m_pid = -1;
    return false;
}

int CLanProcess::Wait(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Running())
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return m_exitStatus;
}

int CLanProcess::Stop(std::chrono::milliseconds grace)
{
    if (!Running())
        return m_exitStatus;
    kill(m_pid, SIGTERM);
    if (Wait(grace) != -1 || !Running())
        return m_exitStatus;
    kill(m_pid, SIGKILL);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    m_exitStatus = -1;
    return -1;
}

std::string CLanProcess::Output() const
{
    return ReadFile(m_outputPath);
}

bool CTestLan::Available(std::string* why)
{
    if (geteuid() != 0)
    {
        *why = "needs root for network namespaces";
        return false;
    }
    if (access("/usr/sbin/ip", X_OK) != 0 && access("/sbin/ip", X_OK) != 0 && access("/usr/bin/ip", X_OK) != 0)
    {
        *why = "needs iproute2";
        return false;
    }
    return true;
}

CTestLan::CTestLan(const std::string& name, const TestLanOptions& options) : m_id(std::to_string(getpid()) + "-" + name)
{
    char pattern[] = "/tmp/fmtest-lan-XXXXXX";
    m_outputDirectory = mkdtemp(pattern) ? std::string(pattern) + "/" : std::string("/tmp/");
    // LANs left behind by test processes that died are removed first.
    Run("", {kScript, "gc"});
    std::vector<std::string> command = {kScript, "up", m_id, "--device-hosts", std::to_string(options.deviceHosts)};
    if (options.secondToolAddress)
        command.push_back("--second-tool-address");
    if (options.lossPercent > 0)
    {
        command.push_back("--loss");
        command.push_back(std::to_string(options.lossPercent));
    }
    std::string output;
    m_up = Run("", command, &output) == 0;
}

CTestLan::~CTestLan()
{
    Run("", {kScript, "down", m_id});
    std::system(("rm -rf '" + m_outputDirectory + "'").c_str());
}

std::string CTestLan::Namespace(const std::string& host) const
{
    return "fmtest-" + m_id + "-" + host;
}

int CTestLan::Run(const std::string& host, const std::vector<std::string>& command, std::string* output,
                  const std::map<std::string, std::string>& environment)
{
    CLanProcess process = Start(host, command, environment);
    const int status = process.Wait(std::chrono::minutes(5));
    if (output != nullptr)
        *output = process.Output();
    return status;
}

CLanProcess CTestLan::Start(const std::string& host, const std::vector<std::string>& command,
                            const std::map<std::string, std::string>& environment)
{
    std::vector<std::string> full;
    if (!host.empty())
        full = {"ip", "netns", "exec", Namespace(host)};
    full.insert(full.end(), command.begin(), command.end());
    const std::string outputPath = m_outputDirectory + "process-" + std::to_string(++m_started) + ".out";
    return CLanProcess(Spawn(full, outputPath, environment), outputPath);
}

void CTestLan::SetLoss(int percent)
{
    Run("", {kScript, "loss", m_id, std::to_string(percent)});
}

TestLanLossStats CTestLan::LossStats()
{
    std::string output;
    Run("", {kScript, "loss-stats", m_id}, &output);
    TestLanLossStats stats;
    std::istringstream lines(output);
    for (std::string key, value; lines >> key >> value;)
    {
        if (key == "dropped-in")
            stats.droppedIn = std::stol(value);
        else if (key == "dropped-out")
            stats.droppedOut = std::stol(value);
        else if (key == "reached")
            stats.reached.insert(value);
    }
    return stats;
}
