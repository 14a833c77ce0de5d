#pragma once

#include "platform/Service.h"

#include <QByteArray>
#include <QString>

// Profile (INI) files: a string of a section and key, read with a default, and written. How
// a value reads back is the same for every implementation: blanks at either end are
// dropped, then one pair of enclosing quotation marks, and what is left is cut to its first
// MaxValueLength characters. The default implementation keeps the files on disk.
class ProfileFile : public Service<ProfileFile> {
public:
    static constexpr int MaxValueLength = 2047;

    virtual ~ProfileFile();

    // The value, or the default when the file, the section or the key is missing or the
    // file cannot be read.
    QString readString(const QString &path, const QString &section, const QString &key,
                       const QString &defaultValue);
    // Sets the key, creating the file and the section where they are missing and keeping
    // everything else in the file. Raises "Unable to write to <path>" when the file cannot be
    // read back first or cannot be written.
    void writeString(const QString &path, const QString &section, const QString &key,
                     const QString &value);

    // A stored value as it reads back.
    static QString readBack(const QString &stored);

protected:
    // The file's bytes, empty for a missing file; false when it exists but cannot be read.
    virtual bool load(const QString &path, QByteArray &bytes) = 0;
    // Replaces the file's bytes as a whole; false when that fails.
    virtual bool store(const QString &path, const QByteArray &bytes) = 0;
};

template <> ProfileFile &Service<ProfileFile>::systemDefault();
