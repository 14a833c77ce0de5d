#pragma once

#include "platform/Sockets.h"

#include <QByteArray>

// Sockets for the fuzz targets, installed for its lifetime: every connection succeeds at once,
// takes whatever is sent, and answers with the replies it was given, handed out in pieces of
// the given size; after the last byte the peer closes the connection. Nothing waits.
class ReplaySockets : public Sockets {
public:
    ReplaySockets(QByteArray replies, int pieceSize);
    ~ReplaySockets() override;

    std::unique_ptr<TcpSocket> createTcpSocket() override;
    Resolver resolver() override
    {
        return [](const QString &) { return QStringLiteral("127.0.0.1"); };
    }
    QString localHostName() override { return QStringLiteral("fuzz"); }

    // The bytes sent over every connection, in order.
    const QByteArray &sent() const { return m_sent; }

private:
    class ReplaySocket;

    QByteArray m_replies;
    qsizetype m_pos = 0;
    int m_pieceSize;
    QByteArray m_sent;
    Sockets *m_previous;
};
