#include "settings/SettingsFile.h"

#include "platform/Error.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

[[noreturn]] void fail(const char *format, const QString &path, const QString &reason)
{
    throw Error(QString::fromLatin1(format).arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

QByteArray SettingsFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("Cannot open file \"%1\". %2", path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail("Cannot open file \"%1\". %2", path, file.errorString());
    return bytes;
}

void SettingsFile::write(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail("Cannot create file \"%1\". %2", path, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit())
        fail("Cannot create file \"%1\". %2", path, file.errorString());
}
