#pragma once

#include "platform/Sockets.h"

#include <utility>

// Sockets on the POSIX socket interface and the system's resolver.
class SystemSockets : public Sockets {
public:
    std::unique_ptr<TcpSocket> createTcpSocket() override;
    Resolver resolver() override { return &SystemSockets::lookUp; }
    QString localHostName() override;

    // The socket layer's number and text for an errno value.
    static std::pair<int, QString> describeErrno(int error);
    // The same for a getaddrinfo() result; errnoValue serves EAI_SYSTEM.
    static std::pair<int, QString> describeResolverError(int result, int errnoValue);
    static Error errnoError(int error);
    // The system resolver's answer for a host name.
    static QString lookUp(const QString &hostName);
};
