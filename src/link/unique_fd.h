// A file descriptor with one owner: closed when the owner goes or takes another.
#pragma once

#include <utility>

class CUniqueFd
{
public:
    CUniqueFd() = default;
    explicit CUniqueFd(int fd) : m_fd(fd) {}
    ~CUniqueFd() { Reset(); }
    CUniqueFd(CUniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    CUniqueFd& operator=(CUniqueFd&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_fd, -1));
        return *this;
    }
    CUniqueFd(const CUniqueFd&) = delete;
    CUniqueFd& operator=(const CUniqueFd&) = delete;

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    explicit operator bool() const { return Valid(); }

    // Closes the held descriptor (if any) and holds fd instead.
    void Reset(int fd = -1);

private:
    int m_fd = -1;
};
