#include "ui/main/FixedTabBar.h"

#include <QEvent>
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
    const QString caption = tabText(index);
    auto known = m_captionWidths.constFind(caption);
    if (known == m_captionWidths.cend())
        known = m_captionWidths.insert(caption, fontMetrics().horizontalAdvance(caption));
    const int width = *known + padding;
    const int height =
        fontMetrics().height() + style()->pixelMetric(QStyle::PM_TabBarTabVSpace, nullptr, this);
    return QSize(std::max(m_tabSize.width(), width), std::max(m_tabSize.height(), height));
}

// A tab is never narrowed below its caption.
QSize FixedTabBar::minimumTabSizeHint(int index) const
{
    return tabSizeHint(index);
}

void FixedTabBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_captionWidths.clear();
    QTabBar::changeEvent(event);
}
