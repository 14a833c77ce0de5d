#include "mail/MailDate.h"

#include "platform/Error.h"
#include "platform/TimeZone.h"

#include <cstdlib>

QByteArray MailDate::format(const QDateTime &instant, int offsetSeconds)
{
    static const char *const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDateTime local = instant.toUTC().addSecs(offsetSeconds);
    const QDate date = local.date();
    const QTime time = local.time();
    const int minutes = std::abs(offsetSeconds) / 60;
    return QByteArray(days[date.dayOfWeek() % 7]) + ", " + QByteArray::number(date.day()) + ' ' +
           months[date.month() - 1] + ' ' + QByteArray::number(date.year()) + ' ' +
           time.toString(QStringLiteral("HH:mm:ss")).toLatin1() + ' ' +
           (offsetSeconds < 0 ? '-' : '+') +
           QByteArray::number(minutes / 60).rightJustified(2, '0') +
           QByteArray::number(minutes % 60).rightJustified(2, '0');
}

QByteArray MailDate::local(const QDateTime &instant)
{
    const QDateTime moment = instant.isValid() ? instant : QDateTime::currentDateTimeUtc();
    const std::optional<int> offset = TimeZone::current().offsetFromUtc(moment);
    if (!offset)
        throw Error(QStringLiteral("Failed attempting to retrieve time zone information."));
    return format(moment, *offset);
}
