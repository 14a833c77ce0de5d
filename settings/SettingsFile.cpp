#include "settings/SettingsFile.h"

#include "platform/Error.h"
#include "platform/FileReplacement.h"

#include <QDir>
#include <QFile>

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
    // One byte past the limit tells a file that is too large; its size is not asked first, as
    // a device has none.
    const QByteArray bytes = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError)
        fail("Cannot open file \"%1\". %2", path, file.errorString());
    if (bytes.size() > maxSize)
        fail("Cannot open file \"%1\". %2", path,
             QStringLiteral("The file is larger than %1 bytes.").arg(maxSize));
    return bytes;
}

void SettingsFile::write(const QString &path, const QByteArray &bytes)
{
    const QString reason = FileReplacement::write(path, bytes);
    if (!reason.isEmpty())
        fail("Cannot create file \"%1\". %2", path, reason);
}
