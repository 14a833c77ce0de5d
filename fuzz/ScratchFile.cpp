#include "fuzz/ScratchFile.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

namespace {

// Memory-backed when the machine has it: the readers run thousands of times a second.
QString scratchRoot()
{
    const QString shm = QStringLiteral("/dev/shm");
    return QFileInfo(shm).isDir() && QFileInfo(shm).isWritable()
               ? shm + QStringLiteral("/kevran-fuzz-XXXXXX")
               : QDir::tempPath() + QStringLiteral("/kevran-fuzz-XXXXXX");
}

} // namespace

ScratchFile::ScratchFile(const QString &fileName)
    : m_dir(scratchRoot())
    , m_path(m_dir.filePath(fileName))
{
    if (!m_dir.isValid())
        std::abort();
}

const QString &ScratchFile::write(const QByteArray &bytes)
{
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    return m_path;
}
