#include "doubles/MemoryProfileFile.h"

MemoryProfileFile::MemoryProfileFile()
    : m_previous(&ProfileFile::current())
{
    ProfileFile::setCurrent(this);
}

MemoryProfileFile::~MemoryProfileFile()
{
    ProfileFile::setCurrent(m_previous);
}

bool MemoryProfileFile::load(const QString &path, QByteArray &bytes)
{
    if (m_unreadable.contains(path))
        return false;
    bytes = m_files.value(path);
    return true;
}

bool MemoryProfileFile::store(const QString &path, const QByteArray &bytes, QString &)
{
    if (m_unwritable.contains(path))
        return false;
    m_files.insert(path, bytes);
    ++m_writes;
    return true;
}
