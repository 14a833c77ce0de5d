#include "platform/LinuxRegistry.h"

#include "platform/Error.h"

namespace {
[[noreturn]] void notOpen()
{
    throw Error(QStringLiteral("The registry key is not open"));
}
} // namespace

Registry::Key LinuxRegistry::openKey(Root, const QString &)
{
    return NoKey;
}

void LinuxRegistry::closeKey(Key) {}

bool LinuxRegistry::valueExists(Key, const QString &) const
{
    notOpen();
}

QString LinuxRegistry::readText(Key, const QString &) const
{
    notOpen();
}

qint32 LinuxRegistry::readInteger(Key, const QString &) const
{
    notOpen();
}
