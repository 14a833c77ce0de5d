#include "platform/TimeZone.h"

#include "platform/SystemTimeZone.h"

TimeZone::~TimeZone() = default;

template <> TimeZone &Service<TimeZone>::systemDefault()
{
    static SystemTimeZone system;
    return system;
}
