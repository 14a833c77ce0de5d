#pragma once

#include "mail/EncodedWords.h"
#include "mail/HeaderList.h"

#include <QByteArray>
#include <QString>
#include <functional>

class MailMessage;
struct MessagePart;

// Turns a mail message into the lines sent after DATA: the header block, one empty line and
// the body, plain or as a multipart message with base64 attachments; a body that is not short
// printable ASCII lines goes as UTF-8 in base64. Each line (without its
// CR LF) goes to the line sink as soon as it is produced; attachments are read 57 bytes at a
// time. Failures are raised as Error.
class MessageWriter {
public:
    using LineSink = std::function<void(const QByteArray &line)>;
    using StatusSink = std::function<void(const QString &text)>;

    static inline const QByteArray Boundary =
        QByteArrayLiteral("=_NextPart_2kevranpartsqw3nerasdf");
    static inline const QString EncodingText = QStringLiteral("Encoding text");
    static inline const QString EncodingAttachment = QStringLiteral("Encoding attachment");
    static constexpr int AttachmentBytesPerLine = 57;
    // The longest line a message may hold, without its CR LF.
    static constexpr int MaxLineOctets = 998;

    // The encoded-word scheme follows the default locale's language.
    MessageWriter(const MailMessage &message, LineSink lines, StatusSink status = StatusSink());

    void setScheme(EncodedWords::Scheme scheme) { m_scheme = scheme; }

    void write();

    // The message's header fields in the order they are written.
    HeaderList headers() const;

    // Whether a body goes as plain lines: printable ASCII (and TAB) only, every line short
    // enough for the wire. Any other body goes as UTF-8 in base64.
    static bool bodyIsPlain(const QStringList &body);

private:
    void writeHeader();
    void writeBody();
    void line(const QByteArray &text);
    void status(const QString &text);
    void writeBodyLines(bool plain);
    void writeAttachment(const MessagePart &part);

    const MailMessage &m_message;
    LineSink m_lines;
    StatusSink m_status;
    EncodedWords::Scheme m_scheme;
};
