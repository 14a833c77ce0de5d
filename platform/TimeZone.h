#pragma once

#include "platform/Service.h"

#include <QDateTime>
#include <optional>

// The computer's time zone: the offset from UTC in force at a moment.
class TimeZone : public Service<TimeZone> {
public:
    virtual ~TimeZone();

    // Seconds east of UTC in force at the instant, daylight saving included; nothing when the
    // time zone cannot be read.
    virtual std::optional<int> offsetFromUtc(const QDateTime &instant) = 0;
};

template <> TimeZone &Service<TimeZone>::systemDefault();
