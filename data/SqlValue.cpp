#include "data/SqlValue.h"

#include "data/IntegerText.h"
#include "platform/Error.h"

QString SqlValue::quoted(const QString &value)
{
    return QLatin1Char('\'') + insideQuotes(value) + QLatin1Char('\'');
}

QString SqlValue::insideQuotes(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        if (c == QLatin1Char('\''))
            out += QLatin1String("''");
        else if (c.isNull())
            // SQLite reads a statement's text only up to a NUL, so a NUL cannot stand inside a
            // literal: the literal is closed, the character joined on, and the literal reopened.
            out += QLatin1String("' || char(0) || '");
        else
            out += c;
    }
    return out;
}

QString SqlValue::integer(const QString &value)
{
    const QString trimmed = value.trimmed();
    int i = 0;
    if (i < trimmed.size() && (trimmed[i] == QLatin1Char('+') || trimmed[i] == QLatin1Char('-')))
        ++i;
    QString ascii = trimmed.left(i);
    const int digitsFrom = i;
    for (int d; i < trimmed.size() && (d = IntegerText::digitValue(trimmed[i])) >= 0; ++i)
        ascii.append(QChar(u'0' + d));
    bool ok = i > digitsFrom && i == trimmed.size();
    const qlonglong number = ok ? ascii.toLongLong(&ok) : 0;
    if (!ok)
        throw Error(QStringLiteral("'%1' is not a valid integer value").arg(value));
    return QString::number(number);
}
