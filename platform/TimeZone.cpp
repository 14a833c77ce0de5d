#include "platform/TimeZone.h"

#include "platform/SystemTimeZone.h"

namespace {
TimeZone *g_current = nullptr;
}

TimeZone::~TimeZone() = default;

TimeZone &TimeZone::current()
{
    static SystemTimeZone system;
    return g_current ? *g_current : system;
}

void TimeZone::setCurrent(TimeZone *timeZone)
{
    g_current = timeZone;
}
