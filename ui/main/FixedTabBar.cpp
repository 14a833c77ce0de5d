#include "ui/main/FixedTabBar.h"

#include <QStyle>
#include <algorithm>

FixedTabBar::FixedTabBar(const QSize &tabSize, QWidget *parent)
    : QTabBar(parent)
    , m_tabSize(tabSize)
{
    setElideMode(Qt::ElideNone);
    setExpanding(false);
}

// A caption wider than the fixed width in the font at hand widens its own tab rather than
// being cut off: the style's padding and a few pixels more. (The base class's hint may still be
// that of the font before.)
QSize FixedTabBar::tabSizeHint(int index) const
{
    const int padding = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, this) + 8;
    const int width = fontMetrics().horizontalAdvance(tabText(index)) + padding;
    const int height =
        fontMetrics().height() + style()->pixelMetric(QStyle::PM_TabBarTabVSpace, nullptr, this);
    return QSize(std::max(m_tabSize.width(), width), std::max(m_tabSize.height(), height));
}

// A tab is never narrowed below its caption.
QSize FixedTabBar::minimumTabSizeHint(int index) const
{
    return tabSizeHint(index);
}
