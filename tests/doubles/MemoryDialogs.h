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

    // The answer the next confirmations give ("&Yes" when true).
    void setConfirmAnswer(bool yes) { m_confirmAnswer = yes; }

    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    QList<Shown> m_shown;
    bool m_confirmAnswer = false;
    Dialogs *m_previous = nullptr;
};
