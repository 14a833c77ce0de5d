#include "mail/AddressList.h"

void AddressList::setText(const QString &text)
{
    m_items.clear();
    if (text.trimmed().isEmpty())
        return;
    QString item;
    bool quoted = false;
    int depth = 0;
    const auto flush = [&] {
        const MailAddress address = parseItem(item.trimmed());
        if (!address.address.isEmpty())
            m_items.append(address);
        item.clear();
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted && c == QLatin1Char('\\') && i + 1 < text.size()) {
            item += c;
            item += text[++i];
            continue;
        }
        if (c == QLatin1Char('"') && depth == 0)
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('('))
            ++depth;
        else if (!quoted && c == QLatin1Char(')') && depth > 0)
            --depth;
        else if (!quoted && depth == 0 && (c == QLatin1Char(',') || c == QLatin1Char(';'))) {
            flush();
            continue;
        }
        item += c;
    }
    flush();
}

AddressList AddressList::parse(const QString &text)
{
    AddressList list;
    list.setText(text);
    return list;
}

QByteArray AddressList::text(EncodedWords::Scheme scheme) const
{
    QByteArray out;
    for (const MailAddress &address : m_items) {
        if (!out.isEmpty())
            out += ", ";
        out += address.text(scheme);
    }
    return out;
}

MailAddress AddressList::parseItem(const QString &item)
{
    const int open = item.lastIndexOf(QLatin1Char('<'));
    const int close = item.lastIndexOf(QLatin1Char('>'));
    if (open < 0 || close < open)
        return MailAddress(item);

    QString name = item.left(open).trimmed();
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"'))) {
        const QString inner = name.mid(1, name.size() - 2);
        name.clear();
        for (int i = 0; i < inner.size(); ++i) {
            if (inner[i] == QLatin1Char('\\') && i + 1 < inner.size())
                ++i;
            name += inner[i];
        }
    }
    return MailAddress(item.mid(open + 1, close - open - 1).trimmed(), name);
}
