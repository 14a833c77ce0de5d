#pragma once

#include <QMenu>

// A context menu of the program's right-to-left windows: it opens right to left, its items
// aligned to the right, in the window's font and text colour.
class PopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit PopupMenu(QWidget *parent);
};
