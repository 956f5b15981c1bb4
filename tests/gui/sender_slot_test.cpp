// The sender rule of the pages: a new sender replaces the running one, which finishes the request it
// is in and sends nothing more; no sender outlives its slot.
#include "pages/sender_slot.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include <QtTest>

namespace
{

// Requests that wait inside the call until the test lets them through.
class CGatedRequests
{
public:
    void Send(const std::string& what)
    {
        std::unique_lock guard(m_lock);
        m_inside.push_back(what);
        m_changed.notify_all();
        m_changed.wait(guard, [this] { return m_open; });
        m_done.push_back(what);
    }
    void Open()
    {
        std::lock_guard guard(m_lock);
        m_open = true;
        m_changed.notify_all();
    }
    bool WaitInside(size_t count)
    {
        std::unique_lock guard(m_lock);
        return m_changed.wait_for(guard, std::chrono::seconds(5), [&] { return m_inside.size() >= count; });
    }
    std::vector<std::string> Done()
    {
        std::lock_guard guard(m_lock);
        return m_done;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::string> m_inside;
    std::vector<std::string> m_done;
    bool m_open = false;
};

CSenderSlot::Work Sender(CGatedRequests& requests, const std::string& name, int count)
{
    return [&requests, name, count](std::stop_token stop)
    {
        for (int i = 0; i < count; ++i)
        {
            if (stop.stop_requested())
                return;
            requests.Send(name + std::to_string(i));
        }
    };
}

} // namespace

class SenderSlotTest : public QObject
{
    Q_OBJECT

private slots:
    void aReplacedSenderFinishesItsRequestAndSendsNothingMore()
    {
        CGatedRequests requests;
        CSenderSlot slot;
        slot.Replace(Sender(requests, "a", 50));
        QVERIFY(requests.WaitInside(1)); // the first sender is inside its first request
        slot.Replace(Sender(requests, "b", 2));
        QVERIFY(requests.WaitInside(2)); // the new one does not wait for the old one
        requests.Open();
        slot.WaitIdle();

        std::vector<std::string> done = requests.Done();
        std::sort(done.begin(), done.end());
        QCOMPARE(done, std::vector<std::string>({"a0", "b0", "b1"}));
        QVERIFY(!slot.IsBusy());
    }

    void destroyingTheSlotStopsAndJoinsItsSenders()
    {
        std::atomic<int> sent{0};
        std::atomic<bool> returned{false};
        {
            CSenderSlot slot;
            slot.Replace(
                [&](std::stop_token stop)
                {
                    while (!stop.stop_requested())
                        ++sent;
                    returned = true;
                });
            QTRY_VERIFY(sent.load() > 0);
        }
        QVERIFY(returned.load());
    }
};

QTEST_MAIN(SenderSlotTest)
#include "sender_slot_test.moc"
