#pragma once

#include <QList>
#include <functional>

class NotePane;
class QAction;
class QMenu;
class QWidget;

// A page's commands on the reader's own data: "نشانه گذاري" (showing Ctrl+D, which the main
// window takes wherever the focus is) and "يادداشت", at the end of the page's menus, hidden
// until the page has the reader's data; the panes' note marks open the note too. Errors of the
// commands are reported as every handler's are.
struct ReaderActions {
    QAction *addBookmark;
    QAction *editNote;

    static ReaderActions install(QWidget *page, const QList<QMenu *> &menus,
                                 const QList<NotePane *> &panes, std::function<void()> bookmark,
                                 std::function<void()> note);
};
