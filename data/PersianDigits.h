#pragma once

#include <QString>

// Numbers in Persian text are written with the Persian digits ۰ to ۹.
class PersianDigits {
public:
    // The number in decimal, in Persian digits: 125 -> "۱۲۵".
    static QString number(qint64 value);
    // The text with every ASCII digit replaced by its Persian digit.
    static QString fromAscii(const QString &text);
};
