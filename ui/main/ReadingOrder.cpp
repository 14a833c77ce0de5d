#include "ui/main/ReadingOrder.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPlainTextEdit>
#include <QRect>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace {

struct Control {
    QWidget *widget;
    QWidget *anchor; // the part of the page that stands for it
    QRect outer;     // the anchor in the page's coordinates
    QRect inner;     // the control in the anchor's coordinates
    int index;       // in the page's order of making
};

bool takesTab(QWidget *widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !widget->isWindow() &&
           !widget->focusProxy();
}

// What stands for a control on the page: the scroll area that holds it, or the nearest part of
// the page that is shown.
QWidget *anchorOf(QWidget *widget, QWidget *page)
{
    QWidget *anchor = widget;
    for (QWidget *up = widget->parentWidget(); up && up != page; up = up->parentWidget()) {
        if (qobject_cast<QAbstractScrollArea *>(up) && up != widget)
            anchor = up;
    }
    while (anchor != page && !anchor->isVisibleTo(page))
        anchor = anchor->parentWidget();
    return anchor;
}

// a is read before b: b stands wholly below a, or beside it further left.
bool before(const QRect &a, const QRect &b)
{
    if (a.bottom() < b.top())
        return true;
    const bool beside = a.top() <= b.bottom() && b.top() <= a.bottom();
    return beside && a.left() > b.right();
}

bool readBefore(const Control &a, const Control &b)
{
    if (a.anchor == b.anchor)
        return before(a.inner, b.inner);
    return before(a.outer, b.outer);
}

} // namespace

ReadingOrder::ReadingOrder(QWidget *page)
    : QObject(page)
{
}

void ReadingOrder::install(QWidget *page)
{
    // Tab leaves a multi-line box for the next control instead of typing a tab into it.
    for (QPlainTextEdit *box : page->findChildren<QPlainTextEdit *>())
        box->setTabChangesFocus(true);
    for (QTextEdit *box : page->findChildren<QTextEdit *>())
        box->setTabChangesFocus(true);
    page->installEventFilter(new ReadingOrder(page));
    apply(page);
}

QList<QWidget *> ReadingOrder::order(QWidget *page)
{
    std::vector<Control> controls;
    for (QWidget *widget : page->findChildren<QWidget *>()) {
        if (!takesTab(widget) || widget->window() != page->window())
            continue;
        QWidget *anchor = anchorOf(widget, page);
        const QRect outer(anchor->mapTo(page, QPoint(0, 0)), anchor->size());
        const QRect inner(anchor == widget ? QPoint(0, 0) : widget->mapTo(anchor, QPoint(0, 0)),
                          widget->size());
        controls.push_back({widget, anchor, outer, inner, int(controls.size())});
    }
    // Of the controls whose every predecessor is placed, the one highest and furthest right
    // comes next; the order of making breaks ties, and a cycle of odd shapes.
    const size_t n = controls.size();
    std::vector<int> waiting(n, 0);
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < n; ++j)
            if (i != j && readBefore(controls[j], controls[i]))
                ++waiting[i];
    std::vector<bool> placed(n, false);
    QList<QWidget *> ordered;
    const auto earlier = [&](size_t a, size_t b) {
        const QRect &ra = controls[a].outer, &rb = controls[b].outer;
        if (ra.top() != rb.top())
            return ra.top() < rb.top();
        if (ra.right() != rb.right())
            return ra.right() > rb.right();
        return controls[a].index < controls[b].index;
    };
    for (size_t step = 0; step < n; ++step) {
        size_t next = n;
        bool ready = false;
        for (size_t i = 0; i < n; ++i) {
            if (placed[i])
                continue;
            const bool mine = waiting[i] == 0;
            if (next == n || (mine && !ready) || (mine == ready && earlier(i, next))) {
                next = i;
                ready = mine;
            }
        }
        placed[next] = true;
        ordered.append(controls[next].widget);
        for (size_t j = 0; j < n; ++j)
            if (!placed[j] && readBefore(controls[next], controls[j]))
                --waiting[j];
    }
    return ordered;
}

void ReadingOrder::apply(QWidget *page)
{
    // A control that hands the focus to another (a tab control to its row of tabs) would hold
    // a place of its own in the chain, where the other's next control is skipped.
    for (QWidget *widget : page->findChildren<QWidget *>()) {
        if (widget->focusProxy() && (widget->focusPolicy() & Qt::TabFocus))
            widget->setFocusPolicy(Qt::NoFocus);
    }
    const QList<QWidget *> ordered = order(page);
    for (qsizetype i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(ordered[i - 1], ordered[i]);
}

bool ReadingOrder::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Resize)
        apply(static_cast<QWidget *>(watched));
    return false;
}
