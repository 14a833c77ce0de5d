#include "platform/SystemSockets.h"

#include "platform/SystemTcpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

std::unique_ptr<TcpSocket> SystemSockets::createTcpSocket()
{
    return std::make_unique<SystemTcpSocket>();
}

QString SystemSockets::lookUp(const QString &hostName)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    const QByteArray name = hostName.toUtf8();
    const int result = getaddrinfo(name.constData(), nullptr, &hints, &found);
    if (result != 0) {
        const auto [code, text] = describeResolverError(result, errno);
        throw socketError(code, text);
    }
    QString address;
    for (const addrinfo *item = found; item && address.isEmpty(); item = item->ai_next) {
        if (item->ai_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto *in = reinterpret_cast<const sockaddr_in *>(item->ai_addr);
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            address = QString::fromLatin1(text);
    }
    freeaddrinfo(found);
    if (address.isEmpty())
        throw socketError(HostNotFound, QStringLiteral("Host not found."));
    return address;
}

QString SystemSockets::localHostName()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        throw errnoError(errno);
    return QString::fromUtf8(name);
}

std::pair<int, QString> SystemSockets::describeErrno(int error)
{
    switch (error) {
    case ECONNREFUSED:
        return {ConnectionRefused, QStringLiteral("Connection refused.")};
    case ETIMEDOUT:
        return {ConnectionTimedOut, QStringLiteral("Connection timed out.")};
    case ECONNRESET:
        return {ConnectionReset, QStringLiteral("Connection reset by peer.")};
    case EHOSTUNREACH:
        return {NoRouteToHost, QStringLiteral("No route to host.")};
    case ENETUNREACH:
        return {NetworkUnreachable, QStringLiteral("Network is unreachable.")};
    default:
        return {error, QString::fromLocal8Bit(std::strerror(error))};
    }
}

std::pair<int, QString> SystemSockets::describeResolverError(int result, int errnoValue)
{
    switch (result) {
    case EAI_NONAME:
#ifdef EAI_NODATA
    case EAI_NODATA:
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
#endif
        return {HostNotFound, QStringLiteral("Host not found.")};
    case EAI_AGAIN:
        return {TryAgain, QStringLiteral("Temporary failure in name resolution.")};
    case EAI_FAIL:
        return {NoRecovery, QStringLiteral("Non-recoverable failure in name resolution.")};
    case EAI_SYSTEM:
        return describeErrno(errnoValue);
    default:
        return {result, QString::fromLocal8Bit(gai_strerror(result))};
    }
}

Error SystemSockets::errnoError(int error)
{
    const auto [code, text] = describeErrno(error);
    return socketError(code, text);
}
