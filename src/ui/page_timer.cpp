#include "ui/page_timer.h"

#include <algorithm>
#include <cmath>

namespace
{

double g_periodScale = 1.0;

} // namespace

CPageTimer::CPageTimer(int id, QObject* owner) : QObject(owner), m_id(id)
{
    setObjectName(QString("timer%1").arg(id));
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { emit Timeout(m_id); });
}

void CPageTimer::Start(int milliseconds)
{
    m_period = milliseconds;
    m_timer.start(std::max(0, static_cast<int>(std::lround(milliseconds * g_periodScale))));
}

void CPageTimer::Stop()
{
    m_timer.stop();
}

bool CPageTimer::Fire()
{
    if (!m_timer.isActive())
        return false;
    emit Timeout(m_id);
    return true;
}

void CPageTimer::SetPeriodScale(double factor)
{
    g_periodScale = factor;
}
