#include "fuzz/ReplaySockets.h"

#include "platform/TcpSocket.h"

#include <cstring>

class ReplaySockets::ReplaySocket : public TcpSocket {
public:
    explicit ReplaySocket(ReplaySockets &owner)
        : m_owner(owner)
    {
    }

    void startConnect(const QString &, quint16) override { m_open = true; }
    bool waitConnected(int) override { return true; }
    bool send(const char *data, qint64 size, int) override
    {
        m_owner.m_sent.append(data, size);
        return true;
    }
    qint64 receive(char *buffer, qint64 size, int) override
    {
        const qint64 left = m_owner.m_replies.size() - m_owner.m_pos;
        const qint64 n = qMin(qMin(size, left), qint64(m_owner.m_pieceSize));
        if (n > 0) {
            std::memcpy(buffer, m_owner.m_replies.constData() + m_owner.m_pos, size_t(n));
            m_owner.m_pos += n;
        }
        return n;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void interrupt() override {}

private:
    ReplaySockets &m_owner;
    bool m_open = false;
};

ReplaySockets::ReplaySockets(QByteArray replies, int pieceSize)
    : m_replies(std::move(replies))
    , m_pieceSize(qMax(1, pieceSize))
    , m_previous(&Sockets::current())
{
    Sockets::setCurrent(this);
}

ReplaySockets::~ReplaySockets()
{
    Sockets::setCurrent(m_previous);
}

std::unique_ptr<TcpSocket> ReplaySockets::createTcpSocket()
{
    return std::make_unique<ReplaySocket>(*this);
}
