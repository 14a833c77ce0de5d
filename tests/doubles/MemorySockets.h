#pragma once

#include "platform/SystemSockets.h"

#include <QHash>
#include <QList>
#include <QStringList>

// Sockets for tests, installed for its lifetime: host names resolve from a table of its own,
// the local host name is fixed, and connections either go to real loopback sockets or fail or
// hang as told. Records every lookup and every connection wait.
class MemorySockets : public Sockets {
public:
    MemorySockets();
    ~MemorySockets() override;

    std::unique_ptr<TcpSocket> createTcpSocket() override;
    Resolver resolver() override;
    QString localHostName() override { return m_localHostName; }

    void addHost(const QString &hostName, const QString &address);
    void setLocalHostName(const QString &name) { m_localHostName = name; }
    // Connection attempts fail with this socket error (code 0: they go ahead).
    void setConnectFailure(int code, const QString &text);
    // Connection attempts never finish; each wait sleeps for its full time.
    void setConnectHangs(bool hangs) { m_connectHangs = hangs; }

    QStringList lookups() const;
    // The time limits of the connection waits, in order.
    const QList<int> &connectWaits() const { return m_connectWaits; }

private:
    class ScriptedSocket;

    SystemSockets m_system;
    // The host table and the look-ups made, shared with look-ups still running on their own
    // threads.
    struct Hosts;
    std::shared_ptr<Hosts> m_hosts;
    QString m_localHostName = QStringLiteral("reader-pc");
    int m_failureCode = 0;
    QString m_failureText;
    bool m_connectHangs = false;
    QList<int> m_connectWaits;
    Sockets *m_previous;
};
