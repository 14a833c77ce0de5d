#include "data/PersianDigits.h"

QString PersianDigits::number(qint64 value)
{
    return fromAscii(QString::number(value));
}

QString PersianDigits::fromAscii(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            c = QChar(char16_t(0x06F0 + (c.unicode() - u'0')));
    }
    return out;
}
