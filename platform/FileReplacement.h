#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file's whole content, or creates it, through a temporary file beside it that is
// renamed over it once every byte is on the disk: the file then holds either its old content
// or all of the new, never a part. A write that the device refuses (a full disk, a quota)
// fails here even where Qt's own commit would report success.
class FileReplacement {
public:
    // Answers an empty string when the file holds the new bytes, else the system's reason;
    // the old file is then as it was and no temporary file is left.
    static QString write(const QString &path, const QByteArray &bytes);
};
