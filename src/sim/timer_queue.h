// Timed jobs of the simulator's loop, earliest first: heartbeats, spread discover reports, the end
// of a reboot's silence.
#pragma once

#include <functional>
#include <vector>

#include <queue>

class CTimerQueue
{
public:
    void Add(double when, std::function<void()> job) { m_jobs.push(Job{when, m_next++, std::move(job)}); }

    // Runs every job due at now (jobs they add for now or earlier run too); returns how many ran.
    size_t RunDue(double now)
    {
        size_t ran = 0;
        while (!m_jobs.empty() && m_jobs.top().when <= now)
        {
            std::function<void()> job = std::move(const_cast<Job&>(m_jobs.top()).job);
            m_jobs.pop();
            job();
            ++ran;
        }
        return ran;
    }

    bool Empty() const { return m_jobs.empty(); }
    double NextDeadline() const { return m_jobs.top().when; }
    size_t Size() const { return m_jobs.size(); }

private:
    struct Job
    {
        double when;
        unsigned long long order; // jobs due at the same time run in the order they were added
        std::function<void()> job;
        bool operator>(const Job& other) const { return when != other.when ? when > other.when : order > other.order; }
    };
    std::priority_queue<Job, std::vector<Job>, std::greater<Job>> m_jobs;
    unsigned long long m_next = 0;
};
