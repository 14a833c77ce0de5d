#include "doubles/MemorySockets.h"

#include "platform/TcpSocket.h"

#include <QThread>

// A connection that goes to the real socket unless told to fail or hang.
class MemorySockets::ScriptedSocket : public TcpSocket {
public:
    ScriptedSocket(MemorySockets &owner, std::unique_ptr<TcpSocket> real)
        : m_owner(owner)
        , m_real(std::move(real))
    {
    }

    void startConnect(const QString &address, quint16 port) override
    {
        if (m_owner.m_failureCode != 0)
            throw socketError(m_owner.m_failureCode, m_owner.m_failureText);
        if (!m_owner.m_connectHangs)
            m_real->startConnect(address, port);
    }
    bool waitConnected(int timeoutMs) override
    {
        m_owner.m_connectWaits.append(timeoutMs);
        if (m_owner.m_connectHangs) {
            QThread::msleep(ulong(qMax(0, timeoutMs)));
            return false;
        }
        return m_real->waitConnected(timeoutMs);
    }
    bool send(const char *data, qint64 size, int timeoutMs) override
    {
        return m_real->send(data, size, timeoutMs);
    }
    qint64 receive(char *buffer, qint64 size, int timeoutMs) override
    {
        return m_real->receive(buffer, size, timeoutMs);
    }
    void close() override { m_real->close(); }
    bool isOpen() const override { return m_real->isOpen(); }
    void interrupt() override { m_real->interrupt(); }

private:
    MemorySockets &m_owner;
    std::unique_ptr<TcpSocket> m_real;
};

MemorySockets::MemorySockets()
    : m_previous(&Sockets::current())
{
    Sockets::setCurrent(this);
}

MemorySockets::~MemorySockets()
{
    Sockets::setCurrent(m_previous);
}

std::unique_ptr<TcpSocket> MemorySockets::createTcpSocket()
{
    return std::make_unique<ScriptedSocket>(*this, m_system.createTcpSocket());
}

QString MemorySockets::resolveIPv4(const QString &hostName)
{
    m_lookups.append(hostName);
    const auto found = m_hosts.constFind(hostName.toLower());
    if (found == m_hosts.constEnd())
        throw socketError(HostNotFound, QStringLiteral("Host not found."));
    return *found;
}

void MemorySockets::addHost(const QString &hostName, const QString &address)
{
    m_hosts.insert(hostName.toLower(), address);
}

void MemorySockets::setConnectFailure(int code, const QString &text)
{
    m_failureCode = code;
    m_failureText = text;
}
