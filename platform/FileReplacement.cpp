#include "platform/FileReplacement.h"

#include <QSaveFile>

QString FileReplacement::write(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // The write is buffered: its failure may surface only when the buffer goes out, which
    // commit() does without looking at the outcome, and then renames a short file over the
    // old one. Flushing first and checking the device's error keeps the old file.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}
