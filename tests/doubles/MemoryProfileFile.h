#pragma once

#include "platform/ProfileFile.h"

#include <QHash>
#include <QSet>

// Profile files held in memory, by path; installed for its lifetime. Files can be made
// unreadable or unwritable, and every write is counted.
class MemoryProfileFile : public ProfileFile {
public:
    MemoryProfileFile();
    ~MemoryProfileFile() override;

    void setBytes(const QString &path, const QByteArray &bytes) { m_files.insert(path, bytes); }
    // The file's bytes; empty when there is none.
    QByteArray bytes(const QString &path) const { return m_files.value(path); }
    bool exists(const QString &path) const { return m_files.contains(path); }
    void setUnreadable(const QString &path) { m_unreadable.insert(path); }
    void setUnwritable(const QString &path) { m_unwritable.insert(path); }
    int writes() const { return m_writes; }

protected:
    bool load(const QString &path, QByteArray &bytes) override;
    bool store(const QString &path, const QByteArray &bytes, QString &reason) override;

private:
    QHash<QString, QByteArray> m_files;
    QSet<QString> m_unreadable;
    QSet<QString> m_unwritable;
    int m_writes = 0;
    ProfileFile *m_previous;
};
