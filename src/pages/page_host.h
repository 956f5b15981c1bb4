// What the pages reach of the window shell: the page container's auto-refresh flag and current
// page, the page menu's enabling, and the page-chosen notification of a page's pager.
#pragma once

#include <QEvent>

// The pager's notification to the page container, as window message 2023.
constexpr QEvent::Type kPageChosenEvent = static_cast<QEvent::Type>(2023);

class CPageChosenEvent : public QEvent
{
public:
    CPageChosenEvent(int pageId, int pageNumber) : QEvent(kPageChosenEvent), m_pageId(pageId), m_pageNumber(pageNumber)
    {
    }
    int PageId() const { return m_pageId; }
    int PageNumber() const { return m_pageNumber; }

private:
    int m_pageId;
    int m_pageNumber;
};

class CPageHost
{
public:
    virtual ~CPageHost() = default;

    virtual int CurrentPage() const = 0;
    virtual bool AutoRefresh() const = 0;
    virtual void SetAutoRefresh(bool on) = 0;
    // Enables or disables all eight page menu buttons at once.
    virtual void EnableMenu(bool enabled) = 0;
    // The object the page-chosen notification is posted to.
    virtual QObject* HostObject() = 0;
};

// The page container while it exists, else null.
CPageHost* PageHost();
void SetPageHost(CPageHost* host);

// Posted, not sent: the pager that reports the choice may be rebuilt by the page's refresh.
void NotifyPageChosen(int pageId, int pageNumber);
