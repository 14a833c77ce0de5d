#pragma once

#include <QByteArray>
#include <QDateTime>

// The date of a mail header: "Tue, 5 Mar 2024 14:03:09 +0330".
class MailDate {
public:
    // The instant as local time with the given offset from UTC, in seconds.
    static QByteArray format(const QDateTime &instant, int offsetSeconds);
    // The instant (an invalid one: now) with the offset of the current time zone in force at
    // that moment; raises an Error when the time zone cannot be read.
    static QByteArray local(const QDateTime &instant = QDateTime());
};
