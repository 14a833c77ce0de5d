#include "ui/main/PopupMenu.h"

PopupMenu::PopupMenu(QWidget *parent)
    : QMenu(parent)
{
    // A menu is a window of its own, which takes neither its parent's direction nor its font.
    setLayoutDirection(Qt::RightToLeft);
    setAttribute(Qt::WA_WindowPropagation);
}
