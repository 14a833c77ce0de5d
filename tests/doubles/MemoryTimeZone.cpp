#include "doubles/MemoryTimeZone.h"

MemoryTimeZone::MemoryTimeZone(int standardOffsetSeconds)
    : m_standard(standardOffsetSeconds)
    , m_previous(&TimeZone::current())
{
    TimeZone::setCurrent(this);
}

MemoryTimeZone::~MemoryTimeZone()
{
    TimeZone::setCurrent(m_previous);
}

std::optional<int> MemoryTimeZone::offsetFromUtc(const QDateTime &instant)
{
    if (!m_available)
        return std::nullopt;
    const bool inDaylightSaving =
        m_daylightStart.isValid() && instant >= m_daylightStart && instant < m_daylightEnd;
    return m_standard + (inDaylightSaving ? m_daylight : 0);
}

void MemoryTimeZone::setDaylightSaving(int extraSeconds, const QDateTime &startUtc,
                                       const QDateTime &endUtc)
{
    m_daylight = extraSeconds;
    m_daylightStart = startUtc;
    m_daylightEnd = endUtc;
}
