#include "ui/page_timer.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
    // Clamped before the conversion: a large test scale must mean "never", not an overflow to "now".
    const double scaled = std::clamp(milliseconds * g_periodScale, 0.0, double(std::numeric_limits<int>::max()));
    m_timer.start(static_cast<int>(std::lround(scaled)));
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
