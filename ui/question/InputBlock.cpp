#include "ui/question/InputBlock.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

InputBlock::InputBlock(QWidget *blocked)
    : m_blocked(blocked)
{
    qApp->installEventFilter(this);
}

InputBlock::~InputBlock()
{
    qApp->removeEventFilter(this);
}

bool InputBlock::isInput(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    case QEvent::MouseMove:
        // A plain move only hovers; one with a button down would select or drag.
        return static_cast<const QMouseEvent *>(event)->buttons() != Qt::NoButton;
    default:
        return false;
    }
}

bool InputBlock::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType() || !isInput(event))
        return false;
    const auto *widget = static_cast<const QWidget *>(watched);
    return widget == m_blocked || m_blocked->isAncestorOf(widget);
}
