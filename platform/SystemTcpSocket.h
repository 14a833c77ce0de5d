#pragma once

#include "platform/TcpSocket.h"

// A non-blocking POSIX TCP socket; every wait is a poll() bounded by the caller's limit and
// ended early by interrupt().
class SystemTcpSocket : public TcpSocket {
public:
    // Creates the socket and binds it to any local address and port.
    SystemTcpSocket();
    ~SystemTcpSocket() override;
    SystemTcpSocket(const SystemTcpSocket &) = delete;
    SystemTcpSocket &operator=(const SystemTcpSocket &) = delete;

    void startConnect(const QString &address, quint16 port) override;
    bool waitConnected(int timeoutMs) override;
    bool send(const char *data, qint64 size, int timeoutMs) override;
    qint64 receive(char *buffer, qint64 size, int timeoutMs) override;
    void close() override;
    bool isOpen() const override { return m_fd >= 0; }
    void interrupt() override;

private:
    // Waits for the events; false when the time ran out.
    bool waitFor(short events, int timeoutMs);
    void checkOpen() const;

    int m_fd = -1;
    // Readable once interrupt() has been called; every wait polls it beside the socket.
    int m_wake = -1;
    bool m_connecting = false;
};
