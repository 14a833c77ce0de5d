#include "ui/main/CaptionFit.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QWidget>
#include <algorithm>

namespace {

// The width a control's caption needs, 0 for a control without one.
int captionWidth(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text().isEmpty() || label->wordWrap() ? 0 : label->sizeHint().width();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text().isEmpty() ? 0 : button->sizeHint().width();
    if (auto *group = qobject_cast<QGroupBox *>(widget))
        return group->title().isEmpty() ? 0 : group->minimumSizeHint().width();
    return 0;
}

// A child placed by hand, not by its container's layout.
bool placedByHand(QWidget *container, QWidget *child)
{
    return !container->layout() || container->layout()->indexOf(child) < 0;
}

} // namespace

CaptionFit::CaptionFit(QWidget *container)
    : QObject(container)
{
}

void CaptionFit::install(QWidget *container, const QList<QWidget *> &dataLabels)
{
    auto *fitter = new CaptionFit(container);
    fitter->m_dataLabels = dataLabels;
    container->installEventFilter(fitter);
    fitter->fit(container);
}

void CaptionFit::anchorRight(QWidget *container, int designWidth)
{
    // The fitter of the container's children, not one keeping its height.
    for (CaptionFit *fitter :
         container->findChildren<CaptionFit *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (fitter->m_height == 0) {
            fitter->m_anchorWidth = designWidth;
            fitter->fit(container);
        }
    }
}

void CaptionFit::keepHeight(QWidget *widget, int height)
{
    auto *fitter = new CaptionFit(widget);
    fitter->m_height = height;
    widget->installEventFilter(fitter);
    fitter->fitHeight(widget);
}

void CaptionFit::fitHeight(QWidget *widget)
{
    // What a layout needs, or the caption, or the controls placed by hand.
    int needed = widget->fontMetrics().height();
    if (widget->layout())
        needed = widget->layout()->totalMinimumSize().height();
    else if (!widget->children().isEmpty())
        needed = std::max(needed, widget->childrenRect().bottom() + 1);
    const int height = std::max(m_height, needed);
    if (widget->minimumHeight() != height || widget->maximumHeight() != height)
        widget->setFixedHeight(height);
}

QRect CaptionFit::design(QWidget *widget)
{
    const auto found = m_design.constFind(widget);
    if (found != m_design.constEnd())
        return *found;
    const QRect geometry = widget->geometry();
    m_design.insert(widget, geometry);
    connect(widget, &QObject::destroyed, this, [this, widget] { m_design.remove(widget); });
    return geometry;
}

QSize CaptionFit::fit(QWidget *container)
{
    const QRect own = design(container);
    // In a group box with a title the controls stand below the title.
    auto *box = qobject_cast<QGroupBox *>(container);
    const int titleBottom = box && !box->title().isEmpty() ? box->fontMetrics().height() : 0;
    struct Placed {
        QWidget *widget;
        QRect design;
        QSize size;
    };
    QList<Placed> children;
    for (QObject *object : container->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow() || !placedByHand(container, child))
            continue;
        const QRect rect = design(child);
        QSize size = rect.size();
        if (qobject_cast<QGroupBox *>(child) && !child->layout())
            size = size.expandedTo(fit(child));
        if (!m_dataLabels.contains(child) && captionWidth(child) > 0)
            size = size.expandedTo(QSize(captionWidth(child), child->fontMetrics().height()));
        children.append({child, rect, size});
    }
    // Each control moves right by what the controls left of it on its line have grown, and
    // down below its group's title.
    QRect extent, designExtent;
    for (const Placed &placed : children) {
        int shift = 0;
        for (const Placed &other : children) {
            const bool sameLine = other.design.top() <= placed.design.bottom() &&
                                  placed.design.top() <= other.design.bottom();
            if (&other != &placed && sameLine && other.design.x() < placed.design.x())
                shift += other.size.width() - other.design.width();
        }
        const QRect rect(
            QPoint(placed.design.x() + shift, std::max(placed.design.y(), titleBottom)),
            placed.size);
        placed.widget->setGeometry(rect);
        extent = extent.united(rect);
        designExtent = designExtent.united(placed.design);
    }
    const int growth = std::max(0, extent.right() - designExtent.right());
    if (m_anchorWidth > 0 && container == parent()) {
        // Wider than needed, everything moves right by the room there is.
        const int neededWidth = m_anchorWidth + growth;
        const int room = std::max(0, container->width() - neededWidth);
        if (room > 0) {
            for (const Placed &placed : children)
                placed.widget->move(placed.widget->pos() + QPoint(room, 0));
        }
        if (container->minimumWidth() != neededWidth)
            container->setMinimumWidth(neededWidth);
    }
    QSize needed(own.width() + growth,
                 own.height() + std::max(0, extent.bottom() - designExtent.bottom()));
    if (box)
        needed = needed.expandedTo(QSize(captionWidth(box), 0));
    return needed;
}

bool CaptionFit::eventFilter(QObject *watched, QEvent *event)
{
    if (m_height > 0) {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::LayoutRequest)
            fitHeight(static_cast<QWidget *>(watched));
        return false;
    }
    const bool resized = event->type() == QEvent::Resize && m_anchorWidth > 0;
    if ((event->type() == QEvent::FontChange || resized) && !m_fitting) {
        m_fitting = true;
        fit(static_cast<QWidget *>(watched));
        m_fitting = false;
    }
    return false;
}
