#include "mail/MessageWriter.h"

#include "mail/HeaderFolding.h"
#include "mail/MailDate.h"
#include "mail/MailMessage.h"
#include "platform/Error.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>

namespace {

// A file name for a quoted header parameter: control characters would break the part's
// header, so they become "_".
QByteArray parameterValue(const QString &fileName)
{
    QByteArray bytes = fileName.toUtf8();
    for (char &c : bytes) {
        if (uchar(c) < 32 || c == 127)
            c = '_';
    }
    return MailAddress::quoted(bytes);
}

// The body's lines as they go out: a line break inside an entry starts a line of its own.
QList<QByteArray> bodyLines(const QStringList &body)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QList<QByteArray> out;
    for (const QString &entry : body) {
        for (const QString &text : entry.split(lineBreak))
            out.append(text.toUtf8());
    }
    return out;
}

const QByteArray kTextUtf8 = QByteArrayLiteral("text/plain; charset=\"UTF-8\"");

// Text bytes as base64 lines, 57 bytes to a line of 76 characters; what is left over waits in
// pending for the next call, or goes out as a shorter line when flushing.
template <typename Sink> void base64Lines(QByteArray &pending, bool flush, Sink &&sink)
{
    qsizetype at = 0;
    while (pending.size() - at >= MessageWriter::AttachmentBytesPerLine) {
        sink(
            QByteArray::fromRawData(pending.constData() + at, MessageWriter::AttachmentBytesPerLine)
                .toBase64());
        at += MessageWriter::AttachmentBytesPerLine;
    }
    pending.remove(0, at);
    if (flush && !pending.isEmpty()) {
        sink(pending.toBase64());
        pending.clear();
    }
}

} // namespace

MessageWriter::MessageWriter(const MailMessage &message, LineSink lines, StatusSink status)
    : m_message(message)
    , m_lines(std::move(lines))
    , m_status(std::move(status))
    , m_scheme(EncodedWords::schemeFor(QLocale().language()))
{
}

void MessageWriter::write()
{
    writeHeader();
    line(QByteArray());
    writeBody();
}

HeaderList MessageWriter::headers() const
{
    const MailMessage &m = m_message;
    const bool multipart = !m.MessageParts.isEmpty();
    // A body that cannot go as plain lines goes as UTF-8 in base64 and says so; a body of
    // short printable ASCII lines keeps the plain form with no MIME header.
    const bool encodeBody = !multipart && !bodyIsPlain(m.Body);
    const QByteArray contentType = multipart    ? "multipart/mixed; boundary=\"" + Boundary + '"'
                                   : encodeBody ? kTextUtf8
                                                : QByteArray();

    HeaderList h;
    h.set(QStringLiteral("From"), m.From.text(m_scheme));
    h.set(QStringLiteral("Subject"), EncodedWords::encode(m.Subject, m_scheme));
    h.set(QStringLiteral("To"), m.Recipients.text(m_scheme));
    h.set(QStringLiteral("Cc"), m.CCList.text(m_scheme));
    h.set(QStringLiteral("Content-Type"), contentType);
    if (multipart || encodeBody)
        h.set(QStringLiteral("MIME-Version"), QByteArrayLiteral("1.0"));
    if (encodeBody)
        h.set(QStringLiteral("Content-Transfer-Encoding"), QByteArrayLiteral("base64"));
    h.set(QStringLiteral("Date"), MailDate::local(m.Date));
    h.set(QStringLiteral("X-Priority"), QByteArray::number(int(m.Priority) + 1));
    h.set(QStringLiteral("X-Library"), QByteArrayLiteral("KEVRAN2 Mail 1.0"));
    return h;
}

void MessageWriter::writeHeader()
{
    const auto writeFields = [this](const HeaderList &fields) {
        for (const HeaderList::Field &field : fields.fields()) {
            for (const QByteArray &folded : HeaderFolding::lines(field.name.toUtf8(), field.value))
                line(folded);
        }
    };
    writeFields(headers());
    writeFields(m_message.ExtraHeaders);
}

bool MessageWriter::bodyIsPlain(const QStringList &body)
{
    for (const QByteArray &text : bodyLines(body)) {
        // The extra full stop counts on the wire.
        if (text.size() + (text.startsWith('.') ? 1 : 0) > MaxLineOctets)
            return false;
        for (const char c : text) {
            if ((uchar(c) < 32 && c != '\t') || uchar(c) > 126)
                return false;
        }
    }
    return true;
}

void MessageWriter::writeBody()
{
    const bool plain = bodyIsPlain(m_message.Body);
    if (m_message.MessageParts.isEmpty()) {
        status(EncodingText);
        writeBodyLines(plain);
        return;
    }
    line("This is a multi-part message in MIME format");
    line(QByteArray());
    line("--" + Boundary);
    if (plain) {
        line("Content-Type: text/plain");
        line("Content-Transfer-Encoding: 7bit");
    } else {
        line("Content-Type: " + kTextUtf8);
        line("Content-Transfer-Encoding: base64");
    }
    line(QByteArray());
    writeBodyLines(plain);
    for (const MessagePart &part : m_message.MessageParts)
        writeAttachment(part);
    line("--" + Boundary + "--");
}

void MessageWriter::writeBodyLines(bool plain)
{
    const auto sink = [this](const QByteArray &text) { line(text); };
    QByteArray pending;
    for (QByteArray &bytes : bodyLines(m_message.Body)) {
        if (plain) {
            if (bytes.startsWith('.'))
                bytes.prepend('.');
            line(bytes);
        } else {
            // Each line with its CR LF, as the plain form would carry it.
            pending += bytes + "\r\n";
            base64Lines(pending, false, sink);
        }
    }
    base64Lines(pending, true, sink);
}

void MessageWriter::writeAttachment(const MessagePart &part)
{
    status(EncodingAttachment);
    QFile file(part.path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(
            QStringLiteral("Cannot open file \"%1\". %2").arg(part.path, file.errorString()));

    const QByteArray name = parameterValue(part.fileName);
    line(QByteArray());
    line("--" + Boundary);
    line("Content-Type: application/octet-stream;");
    line("        name=" + name);
    line("Content-Transfer-Encoding: base64");
    line("Content-Disposition: attachment;");
    line("        filename=" + name);
    line(QByteArray());

    const auto sink = [this](const QByteArray &text) { line(text); };
    QByteArray pending;
    char chunk[AttachmentBytesPerLine];
    for (;;) {
        const qint64 got = file.read(chunk, AttachmentBytesPerLine - pending.size());
        if (got < 0)
            throw Error(
                QStringLiteral("Cannot read file \"%1\". %2").arg(part.path, file.errorString()));
        if (got == 0)
            break;
        pending.append(chunk, got);
        base64Lines(pending, false, sink);
    }
    base64Lines(pending, true, sink);
    line(QByteArray());
}

void MessageWriter::line(const QByteArray &text)
{
    m_lines(text);
}

void MessageWriter::status(const QString &text)
{
    if (m_status)
        m_status(text);
}
