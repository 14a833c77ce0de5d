#include "doubles/MemoryDialogs.h"

#include <QStringList>

MemoryDialogs::MemoryDialogs()
    : m_previous(&Dialogs::current())
{
    Dialogs::setCurrent(this);
}

MemoryDialogs::~MemoryDialogs()
{
    Dialogs::setCurrent(m_previous);
}

void MemoryDialogs::error(QWidget *, const QString &caption, const QString &text)
{
    m_shown.append({Kind::Error, caption, text});
}

void MemoryDialogs::message(QWidget *, const QString &caption, const QString &text)
{
    m_shown.append({Kind::Message, caption, text});
}

bool MemoryDialogs::confirm(QWidget *, const QString &caption, const QString &text)
{
    m_shown.append({Kind::Confirm, caption, text});
    return m_confirmAnswer;
}

int MemoryDialogs::choose(QWidget *, const QString &caption, const QString &text,
                          const QStringList &buttons)
{
    m_shown.append({Kind::Choice, caption, text});
    m_lastChoices = buttons;
    return m_choice >= 0 && m_choice < buttons.size() ? m_choice : int(buttons.size()) - 1;
}

QStringList MemoryDialogs::texts() const
{
    QStringList result;
    for (const Shown &s : m_shown)
        result.append(s.text);
    return result;
}
