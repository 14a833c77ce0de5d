#include "platform/SystemTcpSocket.h"

#include "platform/SystemSockets.h"

#include <QDeadlineTimer>
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

SystemTcpSocket::SystemTcpSocket()
{
    m_wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wake < 0)
        throw SystemSockets::errnoError(errno);
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        const int error = errno;
        ::close(m_wake);
        throw SystemSockets::errnoError(error);
    }
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    any.sin_port = 0;
    if (::bind(m_fd, reinterpret_cast<const sockaddr *>(&any), sizeof any) != 0) {
        const int error = errno;
        close();
        ::close(m_wake);
        throw SystemSockets::errnoError(error);
    }
}

SystemTcpSocket::~SystemTcpSocket()
{
    close();
    ::close(m_wake);
}

void SystemTcpSocket::interrupt()
{
    const quint64 one = 1;
    // Only fails when the counter is full, and then it is readable already.
    [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
}

void SystemTcpSocket::startConnect(const QString &address, quint16 port)
{
    checkOpen();
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    if (inet_pton(AF_INET, address.toLatin1().constData(), &peer.sin_addr) != 1)
        throw SystemSockets::errnoError(EINVAL);
    if (::connect(m_fd, reinterpret_cast<const sockaddr *>(&peer), sizeof peer) == 0) {
        m_connecting = false;
        return;
    }
    if (errno != EINPROGRESS && errno != EINTR)
        throw SystemSockets::errnoError(errno);
    m_connecting = true;
}

bool SystemTcpSocket::waitConnected(int timeoutMs)
{
    checkOpen();
    if (!m_connecting)
        return true;
    if (!waitFor(POLLOUT, timeoutMs))
        return false;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    m_connecting = false;
    if (error != 0)
        throw SystemSockets::errnoError(error);
    return true;
}

bool SystemTcpSocket::send(const char *data, qint64 size, int timeoutMs)
{
    checkOpen();
    while (size > 0) {
        const ssize_t sent = ::send(m_fd, data, size_t(size), MSG_NOSIGNAL);
        if (sent > 0) {
            data += sent;
            size -= sent;
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(POLLOUT, timeoutMs))
                return false;
        } else {
            throw SystemSockets::errnoError(sent < 0 ? errno : EPIPE);
        }
    }
    return true;
}

qint64 SystemTcpSocket::receive(char *buffer, qint64 size, int timeoutMs)
{
    checkOpen();
    QDeadlineTimer deadline(qMax(0, timeoutMs), Qt::PreciseTimer);
    for (;;) {
        const ssize_t got = ::recv(m_fd, buffer, size_t(size), 0);
        if (got >= 0)
            return got;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            throw SystemSockets::errnoError(errno);
        if (!waitFor(POLLIN, int(deadline.remainingTime())))
            return -1;
    }
}

void SystemTcpSocket::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_connecting = false;
}

bool SystemTcpSocket::waitFor(short events, int timeoutMs)
{
    QDeadlineTimer deadline(qMax(0, timeoutMs), Qt::PreciseTimer);
    for (;;) {
        pollfd items[] = {{m_fd, events, 0}, {m_wake, POLLIN, 0}};
        const int ready = ::poll(items, 2, int(deadline.remainingTime()));
        if (ready > 0)
            return items[1].revents == 0;
        if (ready == 0)
            return false;
        if (errno != EINTR)
            throw SystemSockets::errnoError(errno);
    }
}

void SystemTcpSocket::checkOpen() const
{
    if (m_fd < 0)
        throw SystemSockets::errnoError(EBADF);
}
