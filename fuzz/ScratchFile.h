#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A file in a private temporary folder, for the fuzz targets of readers that take a path:
// each input is written to it in place of the one before.
class ScratchFile {
public:
    explicit ScratchFile(const QString &fileName);

    // Writes the bytes as the file's whole content and answers the file's path.
    const QString &write(const QByteArray &bytes);
    const QString &path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};
