#include "doubles/MemoryShell.h"

MemoryShell::MemoryShell()
    : m_previous(&Shell::current())
{
    Shell::setCurrent(this);
}

MemoryShell::~MemoryShell()
{
    Shell::setCurrent(m_previous);
}

void MemoryShell::open(QWidget *window, const QString &file, const QString &parameters,
                       const QString &directory, ShowMode mode)
{
    m_requests.append({window, file, parameters, directory, mode});
}
