// The integer conversion of typed numbers against any text: a value it answers is the number
// written, digit for digit, and the raising form fails exactly when the plain one does.

#include "data/IntegerText.h"
#include "platform/Error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The digits of a text that converted, without blanks, sign, base mark and leading zeros.
QString writtenDigits(const QString &text, bool *negative, bool *hex)
{
    QString rest = text;
    for (QChar &c : rest) {
        if (c.isDigit()) // Persian and Arabic-Indic digits read as ASCII ones
            c = QLatin1Char(char('0' + c.digitValue()));
    }
    while (rest.startsWith(QLatin1Char(' ')))
        rest.remove(0, 1);
    *negative = rest.startsWith(QLatin1Char('-'));
    if (rest.startsWith(QLatin1Char('-')) || rest.startsWith(QLatin1Char('+')))
        rest.remove(0, 1);
    *hex = rest.startsWith(QLatin1Char('$')) || rest.startsWith(QLatin1String("0x")) ||
           rest.startsWith(QLatin1String("0X"));
    if (*hex)
        rest.remove(0, rest.startsWith(QLatin1Char('$')) ? 1 : 2);
    while (rest.size() > 1 && rest.startsWith(QLatin1Char('0')))
        rest.remove(0, 1);
    return rest.toLower();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<int> value = IntegerText::parse(text);

    bool raised = false;
    try {
        if (IntegerText::toInt(text) != value.value_or(0))
            std::abort();
    } catch (const Error &) {
        raised = true;
    }
    if (raised != !value.has_value())
        std::abort();
    if (!value)
        return 0;

    bool negative = false;
    bool hex = false;
    const QString digits = writtenDigits(text, &negative, &hex);
    const qulonglong magnitude =
        hex ? qulonglong(negative ? 0u - quint32(*value) : quint32(*value))
            : qulonglong(negative ? -qlonglong(*value) : qlonglong(*value));
    const QString expected = QString::number(magnitude, hex ? 16 : 10);
    if (digits != expected)
        std::abort();
    return 0;
}
