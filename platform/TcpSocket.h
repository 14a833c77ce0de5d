#pragma once

#include <QString>
#include <QtGlobal>

// One TCP connection, used from one thread (interrupt() excepted). Every wait is bounded by the
// caller's time limit; socket errors are raised as Error with the text "Socket Error # <number>" CR
// LF "<text>".
class TcpSocket {
public:
    virtual ~TcpSocket();

    // Starts a connection attempt to a dotted IPv4 address without waiting for it.
    virtual void startConnect(const QString &address, quint16 port) = 0;
    // Waits at most timeoutMs for the attempt: true once it has succeeded, false while it is
    // still running; an attempt that failed raises its socket error.
    virtual bool waitConnected(int timeoutMs) = 0;
    // Sends all bytes, waiting at most timeoutMs for room each time the buffer is full; false
    // when that wait runs out.
    virtual bool send(const char *data, qint64 size, int timeoutMs) = 0;
    // Waits at most timeoutMs for data: the count of bytes read, 0 when the peer has closed
    // the connection, -1 when the wait ran out.
    virtual qint64 receive(char *buffer, qint64 size, int timeoutMs) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Ends the wait going on now and every later one at once, as though its time had run out;
    // the one call that may come from another thread. Sending what fits without a wait still
    // goes ahead.
    virtual void interrupt() = 0;
};
