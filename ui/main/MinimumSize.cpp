#include "ui/main/MinimumSize.h"

#include <QEvent>
#include <QLayout>
#include <QScreen>
#include <QWidget>

MinimumSize::MinimumSize(QWidget *window, const QSize &designed)
    : QObject(window)
    , m_designed(designed)
{
}

void MinimumSize::keep(QWidget *window, const QSize &designed)
{
    auto *keeper = new MinimumSize(window, designed);
    window->installEventFilter(keeper);
    keeper->update(window);
}

void MinimumSize::update(QWidget *window)
{
    QSize size = m_designed;
    // On a screen smaller than the design (a high scale factor) the window may shrink to the
    // screen, as far as its layout lets it.
    if (const QScreen *screen = window->screen())
        size = size.boundedTo(screen->availableGeometry().size());
    if (window->layout())
        size = size.expandedTo(window->layout()->totalMinimumSize());
    if (window->minimumSize() != size)
        window->setMinimumSize(size);
}

bool MinimumSize::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show ||
        event->type() == QEvent::ScreenChangeInternal)
        update(static_cast<QWidget *>(watched));
    return false;
}
