#include "ui/main/TabControl.h"

#include "ui/main/FixedTabBar.h"

#include <QEvent>

TabControl::TabControl(const QSize &tabSize, QWidget *parent)
    : QTabWidget(parent)
{
    setTabBar(new FixedTabBar(tabSize, this));
}

bool TabControl::event(QEvent *event)
{
    // QTabWidget answers every layout request by placing its tab bar and pages again and
    // repainting itself whole, and a request reaches it whenever any size hint inside a page
    // changes: a count in a label repainted the whole window after each search. When nothing
    // that places the tab bar and the pages changed, the request only goes on to the window's
    // layout (the pages' minimum sizes still reach it).
    if (event->type() == QEvent::LayoutRequest && isVisible()) {
        const Placement now{size(), tabBar()->sizeHint(), tabPosition(), layoutDirection()};
        if (now == m_placed) {
            updateGeometry();
            return true;
        }
        m_placed = now;
    }
    return QTabWidget::event(event);
}
