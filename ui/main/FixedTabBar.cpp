#include "ui/main/FixedTabBar.h"

#include <algorithm>

FixedTabBar::FixedTabBar(const QSize &tabSize, QWidget *parent)
    : QTabBar(parent)
    , m_tabSize(tabSize)
{
    setElideMode(Qt::ElideNone);
    setExpanding(false);
}

// A caption wider than the fixed width in the font at hand widens its own tab rather than
// being cut off.
QSize FixedTabBar::tabSizeHint(int index) const
{
    return QSize(std::max(m_tabSize.width(), QTabBar::tabSizeHint(index).width() + 8),
                 m_tabSize.height());
}

QSize FixedTabBar::minimumTabSizeHint(int) const
{
    return m_tabSize;
}
