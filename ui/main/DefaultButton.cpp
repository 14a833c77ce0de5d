#include "ui/main/DefaultButton.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

DefaultButton::DefaultButton(QWidget *page, QAbstractButton *button)
    : QObject(page)
    , m_page(page)
    , m_button(button)
{
}

void DefaultButton::install(QWidget *page, QAbstractButton *button)
{
    page->installEventFilter(new DefaultButton(page, button));
}

// Entry boxes and buttons leave Enter to their parent, so it reaches the page.
bool DefaultButton::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    auto *focused = qobject_cast<QAbstractButton *>(QApplication::focusWidget());
    (focused && m_page->isAncestorOf(focused) ? focused : m_button)->click();
    return true;
}
