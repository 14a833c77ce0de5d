#include "platform/SystemProfileFile.h"

#include "platform/FileReplacement.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>

bool SystemProfileFile::load(const QString &path, QByteArray &bytes)
{
    bytes.clear();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

bool SystemProfileFile::store(const QString &path, const QByteArray &bytes, QString &reason)
{
    reason = FileReplacement::write(path, bytes);
    return reason.isEmpty();
}

void SystemProfileFile::exclusive(const QString &path, const std::function<void()> &update)
{
    // A lock left by a program that ended without removing it is taken over at once: its
    // owner is no longer running.
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.tryLock(LockWaitMs);
    update();
}
