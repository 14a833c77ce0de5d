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

// Whether any body line holds a character beyond ASCII: its UTF-8 bytes then need a label.
bool bodyIsEightBit(const QStringList &body)
{
    for (const QString &entry : body) {
        for (const QChar c : entry) {
            if (c.unicode() > 127)
                return true;
        }
    }
    return false;
}

const QByteArray kTextUtf8 = QByteArrayLiteral("text/plain; charset=\"UTF-8\"");

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
    QByteArray contentType =
        multipart ? "multipart/mixed; boundary=\"" + Boundary + '"' : m.ContentType.toUtf8();
    if (!m.CharSet.isEmpty() && !contentType.isEmpty())
        contentType += ";\r\n\tcharset=\"" + m.CharSet.toUtf8() + '"';

    // A body beyond ASCII is UTF-8 and says so, else no mail reader could decode it; an ASCII
    // message keeps the plain form with no MIME header.
    const bool labelBody = !multipart && contentType.isEmpty() && bodyIsEightBit(m.Body);
    if (labelBody)
        contentType = kTextUtf8;

    HeaderList h;
    h.set(QStringLiteral("From"), m.From.text(m_scheme));
    h.set(QStringLiteral("Subject"), EncodedWords::encode(m.Subject, m_scheme));
    h.set(QStringLiteral("To"), m.Recipients.text(m_scheme));
    h.set(QStringLiteral("Cc"), m.CCList.text(m_scheme));
    h.set(QStringLiteral("Newsgroups"), m.NewsGroups.join(QLatin1Char(',')));
    h.set(QStringLiteral("Content-Type"), contentType);
    if (multipart || labelBody)
        h.set(QStringLiteral("MIME-Version"), QByteArrayLiteral("1.0"));
    h.set(QStringLiteral("Content-Transfer-Encoding"),
          labelBody && m.ContentTransferEncoding.isEmpty() ? QByteArrayLiteral("8bit")
                                                           : m.ContentTransferEncoding.toUtf8());
    h.set(QStringLiteral("Sender"), m.Sender.text(m_scheme));
    h.set(QStringLiteral("Reply-To"), m.ReplyTo.text(m_scheme));
    h.set(QStringLiteral("Organization"), EncodedWords::encode(m.Organization, m_scheme));
    h.set(QStringLiteral("Disposition-Notification-To"), m.ReceiptRecipient.text(m_scheme));
    h.set(QStringLiteral("References"), m.References);
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

void MessageWriter::writeBody()
{
    if (m_message.MessageParts.isEmpty()) {
        status(EncodingText);
        writeBodyLines();
        return;
    }
    line("This is a multi-part message in MIME format");
    line(QByteArray());
    line("--" + Boundary);
    if (bodyIsEightBit(m_message.Body)) {
        line("Content-Type: " + kTextUtf8);
        line("Content-Transfer-Encoding: 8bit");
    } else {
        line("Content-Type: text/plain");
        line("Content-Transfer-Encoding: 7bit");
    }
    line(QByteArray());
    writeBodyLines();
    for (const MessagePart &part : m_message.MessageParts)
        writeAttachment(part);
    line("--" + Boundary + "--");
}

void MessageWriter::writeBodyLines()
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString &entry : m_message.Body) {
        for (const QString &text : entry.split(lineBreak)) {
            QByteArray bytes = text.toUtf8();
            if (bytes.startsWith('.'))
                bytes.prepend('.');
            line(bytes);
        }
    }
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

    char chunk[AttachmentBytesPerLine];
    for (;;) {
        qint64 filled = 0;
        while (filled < AttachmentBytesPerLine) {
            const qint64 got = file.read(chunk + filled, AttachmentBytesPerLine - filled);
            if (got < 0)
                throw Error(QStringLiteral("Cannot read file \"%1\". %2")
                                .arg(part.path, file.errorString()));
            if (got == 0)
                break;
            filled += got;
        }
        if (filled == 0)
            break;
        line(QByteArray::fromRawData(chunk, int(filled)).toBase64());
        if (filled < AttachmentBytesPerLine)
            break;
    }
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
