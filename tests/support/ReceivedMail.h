#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A message as a test server received it after DATA, read back: its header block, its fields
// and its body lines.
class ReceivedMail {
public:
    explicit ReceivedMail(const QByteArray &message);

    // The header block, without the empty line that ends it.
    const QByteArray &header() const { return m_header; }
    // A field's first line without its name, trimmed; empty when the field is missing.
    QByteArray field(const QByteArray &name) const;
    // A field's value unfolded, its encoded words (UTF-8, Q or B) decoded; blanks between two
    // encoded words are dropped as the mail standard says.
    QString decodedField(const QByteArray &name) const;
    // The body's lines without their CR, a body in base64 decoded first.
    QList<QByteArray> bodyLines() const;

private:
    QByteArray m_header;
    QByteArray m_body;
};
