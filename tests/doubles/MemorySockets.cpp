#include "doubles/MemorySockets.h"

#include "platform/TcpSocket.h"

#include <QThread>
#include <mutex>

struct MemorySockets::Hosts {
    std::mutex lock;
    QHash<QString, QString> addresses;
    QStringList lookups;
};

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
    : m_hosts(std::make_shared<Hosts>())
    , m_previous(&Sockets::current())
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

Sockets::Resolver MemorySockets::resolver()
{
    return [hosts = m_hosts](const QString &hostName) {
        const std::lock_guard<std::mutex> hold(hosts->lock);
        hosts->lookups.append(hostName);
        const auto found = hosts->addresses.constFind(hostName.toLower());
        if (found == hosts->addresses.constEnd())
            throw socketError(HostNotFound, QStringLiteral("Host not found."));
        return *found;
    };
}

QStringList MemorySockets::lookups() const
{
    const std::lock_guard<std::mutex> hold(m_hosts->lock);
    return m_hosts->lookups;
}

void MemorySockets::addHost(const QString &hostName, const QString &address)
{
    const std::lock_guard<std::mutex> hold(m_hosts->lock);
    m_hosts->addresses.insert(hostName.toLower(), address);
}

void MemorySockets::setConnectFailure(int code, const QString &text)
{
    m_failureCode = code;
    m_failureText = text;
}
