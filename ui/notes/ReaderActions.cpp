#include "ui/notes/ReaderActions.h"

#include "platform/Messages.h"
#include "ui/notes/NotePane.h"

#include <QAction>
#include <QMenu>

ReaderActions ReaderActions::install(QWidget *page, const QList<QMenu *> &menus,
                                     const QList<NotePane *> &panes, std::function<void()> bookmark,
                                     std::function<void()> note)
{
    ReaderActions made{new QAction(QStringLiteral("نشانه گذاري"), page),
                       new QAction(QStringLiteral("يادداشت"), page)};
    made.addBookmark->setObjectName(QStringLiteral("AddBookmark"));
    made.addBookmark->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    made.addBookmark->setShortcutContext(Qt::WidgetShortcut);
    made.editNote->setObjectName(QStringLiteral("EditNote"));
    for (QMenu *menu : menus) {
        menu->addSeparator();
        menu->addAction(made.addBookmark);
        menu->addAction(made.editNote);
    }
    made.addBookmark->setVisible(false);
    made.editNote->setVisible(false);
    QObject::connect(made.addBookmark, &QAction::triggered, page,
                     [bookmark] { Messages::guard(bookmark); });
    QObject::connect(made.editNote, &QAction::triggered, page, [note] { Messages::guard(note); });
    for (NotePane *pane : panes)
        QObject::connect(pane, &NotePane::noteRequested, page, [note] { Messages::guard(note); });
    return made;
}
