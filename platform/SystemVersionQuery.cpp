#include "platform/SystemVersionQuery.h"

#include <QString>
#include <QStringList>
#include <sys/utsname.h>

PlatformVersion SystemVersionQuery::version() const
{
    PlatformVersion result;
    result.platformId = PlatformVersion::OtherPlatform;
    utsname name{};
    if (uname(&name) == 0) {
        // A release reads like "6.1.0-18-amd64".
        const QStringList parts = QString::fromLatin1(name.release).split(QLatin1Char('.'));
        result.major = parts.value(0).toInt();
        result.minor = parts.size() > 1 ? QStringView(parts[1]).left(2).toInt() : 0;
    }
    return result;
}
