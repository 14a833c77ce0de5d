#pragma once

#include <QByteArray>
#include <QString>

// Whole-file access for the settings streams.
class SettingsFile {
public:
    // No settings stream comes near this size; a larger file is damaged, or no settings file.
    static constexpr qint64 maxSize = 1024 * 1024;

    // The file's content; raises "Cannot open file "<path>". <reason>" when it cannot be read
    // or holds more than maxSize bytes. A device or pipe in the file's place is read no further
    // than that either.
    static QByteArray read(const QString &path);
    // Replaces the file's whole content, or creates it; raises
    // "Cannot create file "<path>". <reason>" when that fails. The old content stays intact
    // until the new one is complete.
    static void write(const QString &path, const QByteArray &bytes);
};
