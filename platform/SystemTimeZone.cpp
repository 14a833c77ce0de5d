#include "platform/SystemTimeZone.h"

#include <ctime>

std::optional<int> SystemTimeZone::offsetFromUtc(const QDateTime &instant)
{
    tzset();
    const time_t seconds = time_t(instant.toSecsSinceEpoch());
    tm local{};
    if (!localtime_r(&seconds, &local))
        return std::nullopt;
    return int(local.tm_gmtoff);
}
