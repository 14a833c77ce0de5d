#pragma once

#include "platform/Service.h"

#include "platform/Error.h"

#include <QString>
#include <functional>
#include <memory>

class TcpSocket;

// TCP sockets, host-name resolution and the local computer's host name. Failures are raised
// as Error; socket errors carry the numbers and texts of socketError().
class Sockets : public Service<Sockets> {
public:
    // Error numbers of the socket layer, shared by every implementation.
    enum ErrorCode {
        NetworkUnreachable = 10051,
        ConnectionReset = 10054,
        ConnectionTimedOut = 10060,
        ConnectionRefused = 10061,
        NoRouteToHost = 10065,
        HostNotFound = 11001,
        TryAgain = 11002,
        NoRecovery = 11003,
    };

    virtual ~Sockets();

    // A new TCP socket bound to any local address and port.
    virtual std::unique_ptr<TcpSocket> createTcpSocket() = 0;
    // A look-up of the first IPv4 address of a host name, dotted. It holds what it needs by
    // value or by a shared owner, never a reference to this service: a look-up that runs out
    // of time is left to finish on a thread of its own, perhaps after the service is gone.
    using Resolver = std::function<QString(const QString &hostName)>;
    virtual Resolver resolver() = 0;
    QString resolveIPv4(const QString &hostName) { return resolver()(hostName); }
    virtual QString localHostName() = 0;

    // "Socket Error # <code>" CR LF "<text>".
    static Error socketError(int code, const QString &text);
};

template <> Sockets &Service<Sockets>::systemDefault();
