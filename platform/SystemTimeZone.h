#pragma once

#include "platform/TimeZone.h"

// The time zone of the C library's local time (TZ and the system's zone data).
class SystemTimeZone : public TimeZone {
public:
    std::optional<int> offsetFromUtc(const QDateTime &instant) override;
};
