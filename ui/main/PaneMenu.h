#pragma once

#include "ui/main/PopupMenu.h"

#include <QPointer>
#include <functional>

class QAction;
class QPlainTextEdit;

// The context menu of read-only text panes: the ordinary copy of the selection, then a command
// of the page's own, run for the pane the menu was last opened over (none before it ever was).
// Errors of the command are reported as every handler's are.
class PaneMenu : public PopupMenu {
    Q_OBJECT
public:
    using Command = std::function<void(QPlainTextEdit *pane)>;

    PaneMenu(const QString &commandCaption, Command command, QWidget *parent);

    // Opens this menu on a right click in the pane.
    void attach(QPlainTextEdit *pane);

    QAction *copyAction() const { return m_copy; }
    QAction *commandAction() const { return m_command; }

private:
    QAction *m_copy;
    QAction *m_command;
    QPointer<QPlainTextEdit> m_pane;
};
