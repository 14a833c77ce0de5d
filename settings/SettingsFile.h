#pragma once

#include <QByteArray>
#include <QString>

// Whole-file access for the settings streams.
class SettingsFile {
public:
    // The file's content; raises "Cannot open file "<path>". <reason>" when it cannot be read.
    static QByteArray read(const QString &path);
    // Replaces the file's whole content, or creates it; raises
    // "Cannot create file "<path>". <reason>" when that fails. The old content stays intact
    // until the new one is complete.
    static void write(const QString &path, const QByteArray &bytes);
};
