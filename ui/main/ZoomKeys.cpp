#include "ui/main/ZoomKeys.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

namespace {

// +1 for Ctrl+plus (Ctrl+= too, which is plus without Shift), -1 for Ctrl+minus, 0 for Ctrl+0,
// and no value for any other key.
bool zoomKey(const QKeyEvent *key, int *direction)
{
    if (!(key->modifiers() & Qt::ControlModifier) || (key->modifiers() & Qt::AltModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        *direction = 1;
        return true;
    case Qt::Key_Minus:
        *direction = -1;
        return true;
    case Qt::Key_0:
        *direction = 0;
        return true;
    default:
        return false;
    }
}

} // namespace

ZoomKeys::ZoomKeys(QWidget *area, std::function<void(int)> step, std::function<void()> reset)
    : QObject(area)
    , m_step(std::move(step))
    , m_reset(std::move(reset))
{
    watch(area);
    for (QWidget *child : area->findChildren<QWidget *>())
        watch(child);
}

void ZoomKeys::watch(QWidget *widget)
{
    widget->installEventFilter(this);
    if (auto *scrolled = qobject_cast<QAbstractScrollArea *>(widget))
        scrolled->viewport()->installEventFilter(this);
}

bool ZoomKeys::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        int direction = 0;
        if (!zoomKey(key, &direction))
            return false;
        // Taken here, before any shortcut or the widget's own handling.
        key->accept();
        if (event->type() == QEvent::ShortcutOverride)
            return true;
        if (direction == 0)
            m_reset();
        else
            m_step(direction);
        return true;
    }
    case QEvent::Wheel: {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier))
            return false;
        // One step for each notch (120 eighths of a degree); a touchpad's small turns add up.
        m_wheel += wheel->angleDelta().y();
        const int steps = m_wheel / 120;
        m_wheel -= steps * 120;
        if (steps != 0)
            m_step(steps);
        wheel->accept();
        return true;
    }
    default:
        return false;
    }
}
