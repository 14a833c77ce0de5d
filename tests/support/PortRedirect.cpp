#include "support/PortRedirect.h"

#include "platform/TcpSocket.h"

#include <QTest>

namespace {

class RedirectedSocket : public TcpSocket {
public:
    RedirectedSocket(std::unique_ptr<TcpSocket> real, quint16 target)
        : m_real(std::move(real))
        , m_target(target)
    {
    }
    void startConnect(const QString &address, quint16 port) override
    {
        QCOMPARE(port, quint16(25));
        m_real->startConnect(address, m_target);
    }
    bool waitConnected(int ms) override { return m_real->waitConnected(ms); }
    bool send(const char *data, qint64 size, int ms) override
    {
        return m_real->send(data, size, ms);
    }
    qint64 receive(char *buffer, qint64 size, int ms) override
    {
        return m_real->receive(buffer, size, ms);
    }
    void close() override { m_real->close(); }
    bool isOpen() const override { return m_real->isOpen(); }
    void interrupt() override { m_real->interrupt(); }

private:
    std::unique_ptr<TcpSocket> m_real;
    quint16 m_target;
};

} // namespace

std::unique_ptr<TcpSocket> PortRedirect::createTcpSocket()
{
    return std::make_unique<RedirectedSocket>(MemorySockets::createTcpSocket(), m_target);
}
