#pragma once

#include "platform/Dialogs.h"

#include <QList>

// Dialogs that record what was shown and answer at once; installed for their lifetime.
class MemoryDialogs : public Dialogs {
public:
    struct Shown {
        Kind kind;
        QString caption;
        QString text;
    };

    MemoryDialogs();
    ~MemoryDialogs() override;

    void error(QWidget *parent, const QString &caption, const QString &text) override;
    void message(QWidget *parent, const QString &caption, const QString &text) override;
    bool confirm(QWidget *parent, const QString &caption, const QString &text) override;
    int choose(QWidget *parent, const QString &caption, const QString &text,
               const QStringList &buttons) override;

    // The answer the next confirmations give ("&Yes" when true).
    void setConfirmAnswer(bool yes) { m_confirmAnswer = yes; }
    // The button the next questions with choices press; -1 (the default) presses the last.
    void setChoice(int index) { m_choice = index; }
    // The buttons of the last question with choices.
    const QStringList &lastChoices() const { return m_lastChoices; }

    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    QList<Shown> m_shown;
    bool m_confirmAnswer = false;
    int m_choice = -1;
    QStringList m_lastChoices;
    Dialogs *m_previous = nullptr;
};
