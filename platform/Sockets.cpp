#include "platform/Sockets.h"

#include "platform/PosixSockets.h"

namespace {
Sockets *g_current = nullptr;
}

Sockets::~Sockets() = default;

Error Sockets::socketError(int code, const QString &text)
{
    return Error(QStringLiteral("Socket Error # %1\r\n%2").arg(code).arg(text));
}

Sockets &Sockets::current()
{
    static PosixSockets posix;
    return g_current ? *g_current : posix;
}

void Sockets::setCurrent(Sockets *sockets)
{
    g_current = sockets;
}
