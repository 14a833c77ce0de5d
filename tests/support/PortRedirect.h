#pragma once

#include "doubles/MemorySockets.h"

// The question page always connects to port 25; these sockets take its connections to a test
// server's loopback port instead, and fail the test when a connection asks for another port.
class PortRedirect : public MemorySockets {
public:
    explicit PortRedirect(quint16 target = 0)
        : m_target(target)
    {
    }

    std::unique_ptr<TcpSocket> createTcpSocket() override;
    void setTarget(quint16 target) { m_target = target; }

private:
    quint16 m_target;
};
