#include "mail/MailAddress.h"

QByteArray MailAddress::text(EncodedWords::Scheme scheme) const
{
    if (name.isEmpty())
        return address.toUtf8();
    bool printable = true;
    for (const QChar c : name) {
        if (c.unicode() < 32 || c.unicode() > 126)
            printable = false;
    }
    const QByteArray shown =
        printable ? quoted(name.toUtf8())
                  : EncodedWords::encode(name, scheme, EncodedWords::addressSpecials());
    return shown + " <" + address.toUtf8() + '>';
}

QByteArray MailAddress::quoted(const QByteArray &text)
{
    QByteArray out("\"");
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + '"';
}
