// Operating-system services: elevation, starting helper programs, finding and ending processes.
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

class COperateSystemInfo
{
public:
    COperateSystemInfo();

    // Kept for the callers that test "code above 4": here that means elevation is needed (not root).
    int OperatingSystemCode() const { return m_operatingSystemCode; }
    bool IsWow64() const { return m_isWow64; }
    bool NeedsElevation() const { return m_operatingSystemCode > 4; }

    // Starts the program with no terminal, its folder as working directory, through pkexec when
    // elevation is needed and pkexec exists. With wait set, returns after the program has ended.
    bool StartProgram(const std::string& path, const std::string& parameters, bool wait) const;

    // The first process whose executable file name equals name exactly.
    std::optional<pid_t> FindProcessByName(const std::string& name) const;

    // Ends every process of that name; stops when a process cannot be ended.
    void EndAllProcessesByName(const std::string& name) const;

private:
    int m_operatingSystemCode = 3;
    bool m_isWow64 = false;
};
