#include "data/SqlValue.h"

#include "data/IntegerText.h"

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
    return QString::number(IntegerText::toInt64(value));
}
