#pragma once

#include "platform/Shell.h"

#include <QList>

// Records every shell request instead of carrying it out; installed for its lifetime.
class MemoryShell : public Shell {
public:
    struct Request {
        QWidget *window;
        QString file;
        QString parameters;
        QString directory;
        ShowMode mode;
    };

    MemoryShell();
    ~MemoryShell() override;

    void open(QWidget *window, const QString &file, const QString &parameters,
              const QString &directory, ShowMode mode) override;

    const QList<Request> &requests() const { return m_requests; }

private:
    QList<Request> m_requests;
    Shell *m_previous;
};
