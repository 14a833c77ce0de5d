#include "ui/main/PaneMenu.h"

#include "platform/Messages.h"

#include <QAction>
#include <QPlainTextEdit>

PaneMenu::PaneMenu(const QString &commandCaption, Command command, QWidget *parent)
    : PopupMenu(parent)
    , m_copy(addAction(QStringLiteral("کپي")))
    , m_command(addAction(commandCaption))
{
    connect(m_copy, &QAction::triggered, this, [this] {
        if (m_pane)
            m_pane->copy();
    });
    connect(m_command, &QAction::triggered, this,
            [this, command] { Messages::guard([this, &command] { command(m_pane); }); });
}

void PaneMenu::attach(QPlainTextEdit *pane)
{
    pane->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pane, &QWidget::customContextMenuRequested, this, [this, pane](const QPoint &at) {
        m_pane = pane;
        m_copy->setEnabled(pane->textCursor().hasSelection());
        m_command->setEnabled(!pane->toPlainText().isEmpty());
        popup(pane->viewport()->mapToGlobal(at));
    });
}
