#pragma once

#include "platform/TimeZone.h"

// A time zone for tests, installed for its lifetime: a standard offset and optionally one
// daylight saving period [start, end) in UTC that adds to it.
class MemoryTimeZone : public TimeZone {
public:
    explicit MemoryTimeZone(int standardOffsetSeconds = 0);
    ~MemoryTimeZone() override;

    std::optional<int> offsetFromUtc(const QDateTime &instant) override;

    void setStandardOffset(int seconds) { m_standard = seconds; }
    void setDaylightSaving(int extraSeconds, const QDateTime &startUtc, const QDateTime &endUtc);
    // When unavailable, the offset cannot be read.
    void setAvailable(bool available) { m_available = available; }

private:
    int m_standard;
    int m_daylight = 0;
    QDateTime m_daylightStart;
    QDateTime m_daylightEnd;
    bool m_available = true;
    TimeZone *m_previous;
};
