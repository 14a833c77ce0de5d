#include "platform/SystemProfileFile.h"

#include "platform/FileReplacement.h"

#include <QFile>
#include <QFileInfo>

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

bool SystemProfileFile::store(const QString &path, const QByteArray &bytes)
{
    return FileReplacement::write(path, bytes).isEmpty();
}
