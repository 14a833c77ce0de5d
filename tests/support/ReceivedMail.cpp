#include "support/ReceivedMail.h"

#include <QRegularExpression>

ReceivedMail::ReceivedMail(const QByteArray &message)
{
    const qsizetype end = message.indexOf("\r\n\r\n");
    m_header = end < 0 ? message : message.left(end);
    m_body = end < 0 ? QByteArray() : message.mid(end + 4);
}

QByteArray ReceivedMail::field(const QByteArray &name) const
{
    for (const QByteArray &line : m_header.split('\n')) {
        if (line.startsWith(name + ": "))
            return line.mid(name.size() + 2).trimmed();
    }
    return QByteArray();
}

QString ReceivedMail::decodedField(const QByteArray &name) const
{
    QByteArray value;
    bool inField = false;
    for (const QByteArray &line : m_header.split('\n')) {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        if (inField && (text.startsWith(' ') || text.startsWith('\t')))
            value += text;
        else if ((inField = text.startsWith(name + ':')))
            value = text.mid(name.size() + 1);
    }
    static const QRegularExpression word(QStringLiteral("=\\?UTF-8\\?([QB])\\?([^?]*)\\?="),
                                         QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromLatin1(value);
    QByteArray out;
    qsizetype at = 0;
    bool afterWord = false;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        const QString between = text.mid(at, match.capturedStart() - at);
        if (!(afterWord && between.trimmed().isEmpty()))
            out += between.toLatin1();
        QByteArray payload = match.captured(2).toLatin1();
        if (match.captured(1).toUpper() == QLatin1String("B")) {
            out += QByteArray::fromBase64(payload);
        } else {
            payload.replace('_', ' ');
            out += QByteArray::fromPercentEncoding(payload, '=');
        }
        at = match.capturedEnd();
        afterWord = true;
    }
    out += text.mid(at).toLatin1();
    return QString::fromUtf8(out).trimmed();
}

QList<QByteArray> ReceivedMail::bodyLines() const
{
    QByteArray text = m_body;
    if (field("Content-Transfer-Encoding") == "base64") {
        text = QByteArray::fromBase64(m_body);
        if (text.endsWith("\r\n"))
            text.chop(2);
    }
    QList<QByteArray> lines = text.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}
