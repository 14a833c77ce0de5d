#pragma once

#include "platform/Service.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

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
    // read back first or cannot be written, followed by the system's reason where there is one.
    void writeString(const QString &path, const QString &section, const QString &key,
                     const QString &value);

    // One key to write. A default (keepStored) is written only where the file lacks the key,
    // so that a value another program stored meanwhile stays.
    struct Entry {
        QString section;
        QString key;
        QString value;
        bool keepStored = false;
    };
    // Sets the keys in one step: the file is read again, only these keys change, and it is
    // written back while no other program does the same to it; a file that would come out
    // unchanged is not written. Raises as writeString().
    void writeStrings(const QString &path, const QList<Entry> &entries);

    // A stored value as it reads back.
    static QString readBack(const QString &stored);

protected:
    // The file's bytes, empty for a missing file; false when it exists but cannot be read.
    virtual bool load(const QString &path, QByteArray &bytes) = 0;
    // Replaces the file's bytes as a whole; false when that fails, with the system's reason
    // in `reason` where there is one.
    virtual bool store(const QString &path, const QByteArray &bytes, QString &reason) = 0;
    // Runs `update` (a read and a write of the file) while no other program updates the file
    // the same way. Files that only this program sees need no more than the call.
    virtual void exclusive(const QString &path, const std::function<void()> &update);
};

template <> ProfileFile &Service<ProfileFile>::systemDefault();
