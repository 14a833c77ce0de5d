#include "support/ScriptedSmtpServer.h"

#include <QDeadlineTimer>
#include <QThread>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool sendAll(int fd, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t sent =
            ::send(fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        done += sent;
    }
    return true;
}

// Closes with an RST instead of a FIN: the peer's next read or write fails with a reset.
void resetConnection(int fd)
{
    const linger abort{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
}

} // namespace

ScriptedSmtpServer::ScriptedSmtpServer()
{
    m_replies.insert("", {{"220 test.example ready\r\n"}});
    m_replies.insert("EHLO", {{"250-test.example greets you\r\n250-AUTH PLAIN LOGIN\r\n"
                               "250 8BITMIME\r\n"}});
    m_replies.insert("HELO", {{"250 test.example\r\n"}});
    m_replies.insert("RSET", {{"250 OK\r\n"}});
    m_replies.insert("MAIL", {{"250 OK\r\n"}});
    m_replies.insert("RCPT", {{"250 OK\r\n"}});
    m_replies.insert("DATA", {{"354 End data with <CR><LF>.<CR><LF>\r\n"}});
    m_replies.insert(".", {{"250 Queued\r\n"}});
    m_replies.insert("QUIT", {{"221 Bye\r\n", Reply::Close}});

    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
        ::listen(m_listener, 4) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { run(); });
}

ScriptedSmtpServer::~ScriptedSmtpServer()
{
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

void ScriptedSmtpServer::on(const QByteArray &verb, const QList<Reply> &replies)
{
    QMutexLocker lock(&m_mutex);
    m_replies.insert(verb, replies);
}

QList<QByteArray> ScriptedSmtpServer::received() const
{
    QMutexLocker lock(&m_mutex);
    return m_received;
}

QList<QByteArray> ScriptedSmtpServer::commands() const
{
    QMutexLocker lock(&m_mutex);
    return m_commands;
}

QByteArray ScriptedSmtpServer::message() const
{
    QMutexLocker lock(&m_mutex);
    return m_message;
}

bool ScriptedSmtpServer::waitForClose(int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    while (m_connectionOpen || m_connections == 0) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}

ScriptedSmtpServer::Reply ScriptedSmtpServer::nextReply(const QByteArray &verb)
{
    QMutexLocker lock(&m_mutex);
    auto found = m_replies.find(verb);
    if (found == m_replies.end())
        return {"500 Unknown command\r\n"};
    if (found->size() > 1)
        return found->takeFirst();
    return found->front();
}

void ScriptedSmtpServer::run()
{
    while (!m_stop) {
        pollfd item{m_listener, POLLIN, 0};
        if (::poll(&item, 1, 20) <= 0)
            continue;
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        m_connectionOpen = true;
        ++m_connections;
        if (serve(fd) == Reply::Reset)
            resetConnection(fd);
        ::close(fd);
        m_connectionOpen = false;
    }
}

ScriptedSmtpServer::Reply::Action ScriptedSmtpServer::serve(int fd)
{
    Reply::Action mode = Reply::Answer;
    const auto answer = [&](const QByteArray &verb) {
        for (int waited = 0; waited < m_replyDelay && !m_stop; waited += 10)
            QThread::msleep(10);
        const Reply reply = nextReply(verb);
        if (reply.action == Reply::Flood) {
            while (!m_stop && !reply.bytes.isEmpty() && sendAll(fd, reply.bytes)) {
            }
            mode = Reply::Close;
            return reply;
        }
        sendAll(fd, reply.bytes);
        mode = reply.action;
        return reply;
    };
    answer("");
    bool inData = false;
    QByteArray buffer;
    QList<QByteArray> data;
    while (!m_stop && mode != Reply::Close && mode != Reply::Reset) {
        if (mode == Reply::Stall) {
            QThread::msleep(20);
            pollfd item{fd, POLLRDHUP, 0};
            if (::poll(&item, 1, 0) > 0 && (item.revents & (POLLRDHUP | POLLHUP | POLLERR)))
                return mode;
            continue;
        }
        pollfd item{fd, POLLIN, 0};
        if (::poll(&item, 1, 20) <= 0)
            continue;
        char chunk[65536];
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0)
            return mode;
        buffer.append(chunk, int(got));
        qsizetype end;
        while (mode != Reply::Close && mode != Reply::Stall && mode != Reply::Reset &&
               (end = buffer.indexOf('\n')) >= 0) {
            QByteArray line = buffer.left(end);
            buffer.remove(0, end + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            {
                QMutexLocker lock(&m_mutex);
                m_received.append(line);
                if (!inData)
                    m_commands.append(line);
            }
            if (mode == Reply::Silent)
                continue;
            if (inData) {
                if (line == ".") {
                    inData = false;
                    {
                        QMutexLocker lock(&m_mutex);
                        m_commands.append(line);
                        m_message = data.join("\r\n");
                    }
                    answer(".");
                } else {
                    data.append(line);
                    if (data.size() == m_resetInData)
                        mode = Reply::Reset;
                }
                continue;
            }
            const QByteArray verb = line.split(' ').front().toUpper();
            const Reply reply = answer(verb);
            if (verb == "DATA" && reply.bytes.startsWith("354")) {
                inData = true;
                data.clear();
            }
        }
    }
    return mode;
}

quint16 ScriptedSmtpServer::closedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr *>(&address), length);
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}
