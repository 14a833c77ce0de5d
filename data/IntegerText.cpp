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

std::optional<qint64> IntegerText::read(const QString &text, Form form)
{
    // The 32-bit form skips spaces only, and only in front; the wide form skips every kind of
    // blank on both sides.
    const auto blank = [form](QChar c) {
        return form.trailingBlanks ? c.isSpace() : c == QLatin1Char(' ');
    };
    int i = 0;
    int n = int(text.size());
    while (i < n && blank(text[i]))
        ++i;
    while (form.trailingBlanks && n > i && blank(text[n - 1]))
        --n;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');

    int base = 10;
    if (form.hexadecimal && i < n && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (form.hexadecimal && i + 1 < n && text[i] == QLatin1Char('0') &&
               (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return std::nullopt;

    // Decimal numbers must fit the signed range; hexadecimal ones may use all 32 bits.
    const quint64 positive = form.wide ? quint64(INT64_MAX) : 0x7FFFFFFFull;
    const quint64 limit = base == 16 ? 0xFFFFFFFFull : positive + (negative ? 1 : 0);
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
        if (value > (limit - quint64(d)) / quint64(base))
            return std::nullopt;
        value = value * quint64(base) + quint64(d);
    }
    if (base == 16) {
        const auto bits = quint32(value);
        return negative ? qint64(int(0u - bits)) : qint64(int(bits));
    }
    return negative ? qint64(0 - value) : qint64(value);
}

std::optional<int> IntegerText::parse(const QString &text)
{
    if (const std::optional<qint64> value = read(text, Form{true, false, false}))
        return int(*value);
    return std::nullopt;
}

void IntegerText::raiseInvalid(const QString &text)
{
    throw Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

int IntegerText::toInt(const QString &text)
{
    if (const std::optional<int> value = parse(text))
        return *value;
    raiseInvalid(text);
}

qint64 IntegerText::toInt64(const QString &text)
{
    if (const std::optional<qint64> value = read(text, Form{false, true, true}))
        return *value;
    raiseInvalid(text);
}
