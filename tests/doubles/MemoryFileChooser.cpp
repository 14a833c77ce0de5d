#include "doubles/MemoryFileChooser.h"

MemoryFileChooser::MemoryFileChooser()
    : m_previous(&FileChooser::current())
{
    FileChooser::setCurrent(this);
}

MemoryFileChooser::~MemoryFileChooser()
{
    FileChooser::setCurrent(m_previous);
}

QString MemoryFileChooser::chooseFileToOpen(QWidget *, const QString &start)
{
    m_starts.append(start);
    return m_answer;
}
