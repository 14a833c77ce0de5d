#include "doubles/MemorySaveFileChooser.h"

MemorySaveFileChooser::MemorySaveFileChooser()
    : m_previous(&SaveFileChooser::current())
{
    SaveFileChooser::setCurrent(this);
}

MemorySaveFileChooser::~MemorySaveFileChooser()
{
    SaveFileChooser::setCurrent(m_previous);
}

QString MemorySaveFileChooser::chooseFileToSave(QWidget *, const QString &start, const QString &)
{
    m_starts.append(start);
    return m_answer;
}
