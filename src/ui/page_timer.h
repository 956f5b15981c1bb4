// A numbered window timer (1000, 2000, ...) that tests drive: its periods can be scaled down
// for the whole process, and a test can make it fire at once.
#pragma once

#include <QObject>
#include <QTimer>

class CPageTimer : public QObject
{
    Q_OBJECT

public:
    // The object name is "timer<id>", so tests find it under its owner.
    CPageTimer(int id, QObject* owner);

    int Id() const { return m_id; }
    // (Re)starts with the period; it fires every period until stopped.
    void Start(int milliseconds);
    void Stop();
    bool IsActive() const { return m_timer.isActive(); }
    int Period() const { return m_period; }

    // Test hook: fires now, as if the period had passed, when the timer runs. False when stopped.
    bool Fire();

    // Test hook: every period started from now on is multiplied by factor (1 in production).
    static void SetPeriodScale(double factor);

signals:
    void Timeout(int id);

private:
    int m_id;
    int m_period = 0;
    QTimer m_timer;
};
