// The SMTP client's reply reader and line cutter against any bytes a server may send: the
// greeting, the EHLO or HELO reply and one mail transaction, in pieces of any size. Every
// fault must be an Error; the client must never crash, hang or read past what it was sent.

#include "fuzz/ReplaySockets.h"
#include "mail/MailMessage.h"
#include "mail/SmtpClient.h"
#include "platform/Error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte: the size of the pieces the replies arrive in, and whether EHLO is used.
    const int pieceSize = (data[0] & 0x7F) + 1;
    const bool useEhlo = (data[0] & 0x80) == 0;
    ReplaySockets sockets(QByteArray(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1)),
                          pieceSize);

    SmtpClient client;
    client.setHost(QStringLiteral("127.0.0.1"));
    client.setUseEhlo(useEhlo);
    client.setReadTimeout(1000);
    MailMessage message;
    message.From.address = QStringLiteral("reader@x.example");
    message.Recipients.setText(QStringLiteral("q@x.example, second@x.example"));
    message.Subject = QStringLiteral("question");
    message.Body = QStringList{QStringLiteral("line one"), QStringLiteral(".")};
    message.Date = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC);

    try {
        client.Connect(1000);
        if (client.authMethods().size() > int(size))
            std::abort(); // more methods than bytes: read past what came in
        client.Send(message);
    } catch (const Error &) {
    }
    try {
        client.Disconnect();
    } catch (const Error &) {
    }
    if (client.Connected())
        std::abort();
    return 0;
}
