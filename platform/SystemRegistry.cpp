#include "platform/SystemRegistry.h"

#include "platform/Error.h"

namespace {
[[noreturn]] void notOpen()
{
    throw Error(QStringLiteral("The registry key is not open"));
}
} // namespace

Registry::Key SystemRegistry::openKey(Root, const QString &)
{
    return NoKey;
}

void SystemRegistry::closeKey(Key) {}

bool SystemRegistry::valueExists(Key, const QString &) const
{
    notOpen();
}

QString SystemRegistry::readText(Key, const QString &) const
{
    notOpen();
}

qint32 SystemRegistry::readInteger(Key, const QString &) const
{
    notOpen();
}
