#include "data/IntegerText.h"

#include "platform/Error.h"

int IntegerText::digitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= 0x06F0 && u <= 0x06F9)
        return u - 0x06F0;
    if (u >= 0x0660 && u <= 0x0669)
        return u - 0x0660;
    return -1;
}

std::optional<int> IntegerText::parse(const QString &text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');

    int base = 10;
    if (i < n && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0') &&
               (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return std::nullopt;

    // Decimal numbers must fit a signed 32-bit integer; hexadecimal ones may use all 32 bits.
    const quint64 limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    quint64 value = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        int d = digitValue(text[i]);
        if (d < 0 && base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (d < 0 && base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        if (d < 0)
            return std::nullopt;
        value = value * quint64(base) + quint64(d);
        if (value > limit)
            return std::nullopt;
    }
    const auto bits = quint32(value);
    const int result = int(bits);
    return negative ? int(0u - bits) : result;
}

int IntegerText::toInt(const QString &text)
{
    if (const std::optional<int> value = parse(text))
        return *value;
    throw Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
}
