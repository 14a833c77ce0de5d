#include "mail/SmtpClient.h"

#include "mail/MailMessage.h"
#include "mail/MessageWriter.h"
#include "platform/Error.h"
#include "platform/Sockets.h"
#include "platform/TcpSocket.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <condition_variable>
#include <optional>
#include <thread>

namespace {

QByteArray trimmedLine(const QByteArray &line)
{
    int start = 0;
    int end = int(line.size());
    while (start < end && uchar(line[start]) <= ' ')
        ++start;
    while (end > start && uchar(line[end - 1]) <= ' ')
        --end;
    return line.mid(start, end - start);
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) ||
           text.contains(QChar(0));
}

} // namespace

// One host-name look-up on a thread of its own. The system's resolver cannot be stopped, so a
// look-up that runs out of time or is aborted is left to finish alone; the state it writes
// into is shared, so it outlives whoever stopped waiting for it.
struct SmtpClient::LookUp {
    std::mutex lock;
    std::condition_variable done;
    bool finished = false;
    bool aborted = false;
    QString address;
    std::optional<Error> failure;
};

QString SmtpClient::Reply::text() const
{
    QString out;
    for (const QString &line : lines)
        out += line + QLatin1String("\r\n");
    return out;
}

SmtpClient::SmtpClient(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("SMTP"));
}

SmtpClient::~SmtpClient() = default;

bool SmtpClient::isIPv4Address(const QString &host, QString *canonical)
{
    const QStringList parts = host.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    QStringList numbers;
    for (const QString &part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return false;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        const int value = part.toInt();
        if (value > 255)
            return false;
        numbers.append(QString::number(value));
    }
    if (canonical)
        *canonical = numbers.join(QLatin1Char('.'));
    return true;
}

void SmtpClient::status(SmtpStatus kind, const QString &text)
{
    emit OnStatus(this, kind, text);
}

bool SmtpClient::Connected() const
{
    return m_socket && m_socket->isOpen();
}

void SmtpClient::Connect(int timeoutMs)
{
    if (Connected()) {
        try {
            Disconnect();
        } catch (const Error &) {
            // The old connection is closed all the same; the new one is what matters.
        }
    }
    m_received.clear();
    m_authMethods.clear();
    try {
        openConnection(resolve(), timeoutMs);
    } catch (const Error &) {
        closeSocket();
        throw;
    }
    status(hsConnected, QStringLiteral("Connected."));
    try {
        greet();
    } catch (const Error &) {
        try {
            Disconnect();
        } catch (const Error &) {
            // The greeting's failure is the one to report.
        }
        throw;
    }
}

QString SmtpClient::resolve()
{
    QString address;
    if (isIPv4Address(m_host, &address))
        return address;
    status(hsResolving, QStringLiteral("Resolving hostname %1.").arg(m_host));
    if (m_host.compare(QLatin1String("LOCALHOST"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("127.0.0.1");

    auto lookUp = std::make_shared<LookUp>();
    {
        const std::lock_guard<std::mutex> hold(m_abortLock);
        m_lookUp = lookUp;
    }
    const auto forget = qScopeGuard([this] {
        const std::lock_guard<std::mutex> hold(m_abortLock);
        m_lookUp.reset();
    });
    // The thread holds the look-up by value: it may end after the service and this client.
    std::thread([lookUp, host = m_host, resolver = Sockets::current().resolver()] {
        QString resolved;
        std::optional<Error> failure;
        try {
            resolved = resolver(host);
        } catch (const Error &e) {
            failure = e;
        } catch (...) {
            // Nothing may leave the thread's function: it would end the program.
            failure =
                Sockets::socketError(Sockets::HostNotFound, QStringLiteral("Host not found."));
        }
        const std::lock_guard<std::mutex> hold(lookUp->lock);
        lookUp->address = resolved;
        lookUp->failure = failure;
        lookUp->finished = true;
        lookUp->done.notify_all();
    }).detach();

    std::unique_lock<std::mutex> wait(lookUp->lock);
    const bool ended =
        lookUp->done.wait_for(wait, std::chrono::milliseconds(m_resolveTimeout),
                              [&] { return lookUp->finished || lookUp->aborted || m_aborted; });
    if (lookUp->aborted || m_aborted)
        throw Error(Aborted);
    if (!ended)
        throw Sockets::socketError(Sockets::HostNotFound, QStringLiteral("Host not found."));
    if (lookUp->failure)
        throw *lookUp->failure;
    return lookUp->address;
}

void SmtpClient::abort()
{
    m_aborted = true;
    const std::lock_guard<std::mutex> hold(m_abortLock);
    if (m_lookUp) {
        const std::lock_guard<std::mutex> holdLookUp(m_lookUp->lock);
        m_lookUp->aborted = true;
        m_lookUp->done.notify_all();
    }
    if (m_socket)
        m_socket->interrupt();
}

void SmtpClient::resetAbort()
{
    m_aborted = false;
}

void SmtpClient::throwIfAborted() const
{
    if (m_aborted)
        throw Error(Aborted);
}

void SmtpClient::openConnection(const QString &address, int timeoutMs)
{
    {
        std::unique_ptr<TcpSocket> socket = Sockets::current().createTcpSocket();
        const std::lock_guard<std::mutex> hold(m_abortLock);
        m_socket = std::move(socket);
        if (m_aborted)
            m_socket->interrupt();
    }
    status(hsConnecting, QStringLiteral("Connecting to %1.").arg(address));
    m_socket->startConnect(address, m_port);

    // The attempt runs on its own; it is looked at every 125 ms, the last step waiting out
    // what is left of the limit.
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        const int left = int(qMax<qint64>(0, timeoutMs - elapsed.elapsed()));
        if (m_socket->waitConnected(qMin(ConnectStepMs, left)))
            return;
        throwIfAborted();
        if (elapsed.elapsed() >= timeoutMs)
            throw Error(QStringLiteral("Connect timed out."));
    }
}

void SmtpClient::greet()
{
    const Reply greeting = readReply();
    if (greeting.code != 220)
        throw Error(greeting.text());

    const QString name = m_heloName.isEmpty() ? Sockets::current().localHostName() : m_heloName;
    const QByteArray nameBytes = name.toUtf8();
    if (m_useEhlo) {
        const Reply ehlo = sendCommand("EHLO " + nameBytes);
        if (ehlo.code == 250) {
            for (const QString &line : ehlo.lines) {
                if (line.startsWith(QLatin1String("AUTH "), Qt::CaseInsensitive) ||
                    line.startsWith(QLatin1String("AUTH="), Qt::CaseInsensitive))
                    m_authMethods += line.mid(5).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            }
            return;
        }
    }
    sendCommand("HELO " + nameBytes, {250});
}

void SmtpClient::checkAddresses(const MailMessage &message)
{
    const auto check = [](const QString &address) {
        if (hasLineBreak(address))
            throw Error(QStringLiteral("Invalid address: it holds a line break."));
    };
    check(message.From.address);
    for (const AddressList *list : {&message.Recipients, &message.CCList, &message.BccList}) {
        for (const MailAddress &address : list->items())
            check(address.address);
    }
}

void SmtpClient::Send(MailMessage &message)
{
    checkAddresses(message);
    sendCommand("RSET");
    sendCommand("MAIL FROM:<" + message.From.address.toUtf8() + '>', {250});
    for (const AddressList *list : {&message.Recipients, &message.CCList, &message.BccList}) {
        for (const MailAddress &address : list->items())
            sendCommand("RCPT TO:<" + address.address.toUtf8() + '>', {250, 251});
    }
    sendCommand("DATA", {354});
    message.ExtraHeaders.set(QStringLiteral("X-Mailer"), m_mailAgent);
    MessageWriter writer(
        message, [this](const QByteArray &line) { writeLine(line); },
        [this](const QString &text) { status(hsStatusText, text); });
    writer.write();
    sendCommand(".", {250});
}

void SmtpClient::Disconnect()
{
    std::optional<Error> failure;
    if (Connected()) {
        // The connection is closed below in any case; a failure here is only reported.
        try {
            if (!sendRaw("QUIT"))
                failure = Error(QStringLiteral("Write Timeout"));
        } catch (const Error &e) {
            failure = e;
        }
    }
    status(hsDisconnecting, QStringLiteral("Disconnecting."));
    closeSocket();
    status(hsDisconnected, QStringLiteral("Disconnected."));
    if (failure)
        throw *failure;
}

bool SmtpClient::sendRaw(const QByteArray &line)
{
    const QByteArray bytes = line + "\r\n";
    return m_socket->send(bytes.constData(), bytes.size(), m_readTimeout);
}

void SmtpClient::writeLine(const QByteArray &line)
{
    if (!Connected())
        throw Error(QStringLiteral("Not Connected"));
    throwIfAborted();
    bool sent = false;
    try {
        sent = sendRaw(line);
    } catch (const Error &) {
        connectionLost();
        throw;
    }
    if (!sent) {
        throwIfAborted();
        throw Error(QStringLiteral("Write Timeout"));
    }
}

// A socket error or the server's close leaves nothing to talk to: the connection is closed
// at once, so that no QUIT is tried on it and the next Connect starts afresh.
void SmtpClient::connectionLost()
{
    closeSocket();
    status(hsDisconnected, QStringLiteral("Disconnected."));
}

SmtpClient::Reply SmtpClient::sendCommand(const QByteArray &command, const QList<int> &expected)
{
    writeLine(command);
    Reply reply = readReply();
    if (!expected.isEmpty() && !expected.contains(reply.code))
        throw Error(reply.text());
    return reply;
}

SmtpClient::Reply SmtpClient::readReply()
{
    const QDeadlineTimer deadline(m_readTimeout, Qt::PreciseTimer);
    const auto nextLine = [&] {
        QByteArray line;
        do
            line = trimmedLine(readLine(deadline));
        while (line.isEmpty());
        return line;
    };

    QList<QByteArray> lines{nextLine()};
    const QByteArray &first = lines.front();
    if (first.size() > 3 && first[3] == '-') {
        const QByteArray last = first.left(3) + ' ';
        for (;;) {
            if (lines.size() == MaxReplyLines)
                throw Error(QStringLiteral("Max reply length exceeded."));
            lines.append(nextLine());
            const QByteArray &added = lines.back();
            if (added.size() < 4 || qstrnicmp(added.constData(), last.constData(), 4) == 0)
                break;
        }
    }

    Reply reply;
    QByteArray code = lines.front().left(4);
    if (code.size() == 4 && code[3] == '-')
        code.chop(1);
    bool ok = false;
    reply.code = code.trimmed().toInt(&ok);
    if (!ok)
        reply.code = 0;
    for (const QByteArray &line : lines)
        reply.lines.append(QString::fromUtf8(line.mid(4)));
    return reply;
}

QByteArray SmtpClient::readLine(const QDeadlineTimer &deadline)
{
    for (;;) {
        const qsizetype end = m_received.indexOf('\n');
        if (end >= 0) {
            QByteArray line = m_received.left(end);
            m_received.remove(0, end + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            if (line.size() > MaxLineLength)
                throw Error(QStringLiteral("Max line length exceeded."));
            return line;
        }
        // Without its LF the line is already too long, unless what came last is its CR.
        if (m_received.size() > MaxLineLength &&
            !(m_received.size() == MaxLineLength + 1 && m_received.endsWith('\r')))
            throw Error(QStringLiteral("Max line length exceeded."));
        if (!Connected())
            throw Error(QStringLiteral("Not Connected"));
        // The limit holds for the whole reply, however much the server keeps sending.
        if (deadline.hasExpired())
            throw Error(QStringLiteral("Read Timeout"));

        char chunk[4096];
        qint64 got;
        try {
            got = m_socket->receive(chunk, sizeof chunk, int(deadline.remainingTime()));
        } catch (const Error &) {
            connectionLost();
            throw;
        }
        if (got < 0) {
            throwIfAborted();
            throw Error(QStringLiteral("Read Timeout"));
        }
        if (got == 0) {
            connectionLost();
            throw Error(QStringLiteral("Connection Closed Gracefully."));
        }
        m_received.append(chunk, got);
    }
}

void SmtpClient::closeSocket()
{
    const std::lock_guard<std::mutex> hold(m_abortLock);
    if (m_socket)
        m_socket->close();
    m_socket.reset();
    m_received.clear();
}
