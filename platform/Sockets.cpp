#include "platform/Sockets.h"

#include "platform/SystemSockets.h"

Sockets::~Sockets() = default;

Error Sockets::socketError(int code, const QString &text)
{
    return Error(QStringLiteral("Socket Error # %1\r\n%2").arg(code).arg(text));
}

template <> Sockets &Service<Sockets>::systemDefault()
{
    static SystemSockets system;
    return system;
}
