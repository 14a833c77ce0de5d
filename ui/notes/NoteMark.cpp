#include "ui/notes/NoteMark.h"

#include <QEvent>
#include <QPlainTextEdit>

NoteMark::NoteMark(QPlainTextEdit *pane)
    : QToolButton(pane)
{
    setObjectName(QStringLiteral("NoteMark"));
    setText(QStringLiteral("✎ يادداشت"));
    setToolTip(QStringLiteral("اين متن يادداشت دارد؛ براي خواندن آن را بزنيد"));
    setAccessibleName(QStringLiteral("يادداشت اين متن"));
    setAutoRaise(false);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    pane->installEventFilter(this);
    hide();
    place();
}

bool NoteMark::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        place();
    return QToolButton::eventFilter(watched, event);
}

void NoteMark::place()
{
    adjustSize();
    // The left end of the pane, clear of its frame; a vertical scroll bar stands at the left of
    // a right-to-left pane, so the mark keeps its distance from it.
    auto *pane = static_cast<QPlainTextEdit *>(parent());
    const QRect area = pane->viewport()->geometry();
    move(area.left() + 2, area.top() + 2);
    raise();
}
