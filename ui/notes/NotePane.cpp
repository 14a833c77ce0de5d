#include "ui/notes/NotePane.h"

#include <QEvent>
#include <QToolButton>

NotePane::NotePane(QWidget *parent)
    : QPlainTextEdit(parent)
    , m_mark(new QToolButton(this))
{
    m_mark->setObjectName(QStringLiteral("NoteMark"));
    m_mark->setText(QStringLiteral("✎"));
    m_mark->setToolTip(QStringLiteral("اين متن يادداشت دارد؛ براي خواندن آن را بزنيد"));
    m_mark->setAccessibleName(QStringLiteral("يادداشت اين متن"));
    m_mark->setCursor(Qt::PointingHandCursor);
    m_mark->setAutoRaise(true);
    m_mark->hide();
    connect(m_mark, &QToolButton::clicked, this, &NotePane::noteRequested);
}

void NotePane::setNoted(bool noted)
{
    if (noted == m_noted)
        return;
    m_noted = noted;
    m_mark->setVisible(noted);
    placeMark();
}

void NotePane::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    placeMark();
}

void NotePane::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::LayoutDirectionChange || event->type() == QEvent::FontChange)
        placeMark();
}

void NotePane::placeMark()
{
    // Viewport margins are taken on the reading side: in a right-to-left pane the physical left
    // edge is the "right" margin.
    const int width = m_noted ? m_mark->sizeHint().width() + 2 : 0;
    if (isRightToLeft())
        setViewportMargins(0, 0, width, 0);
    else
        setViewportMargins(width, 0, 0, 0);
    if (!m_noted)
        return;
    const QRect inside = contentsRect();
    const QRect area = viewport()->geometry();
    // Left of the text, right of a scroll bar that stands at the left of a right-to-left pane.
    const int left = isRightToLeft() ? std::max(inside.left(), area.left() - width) : inside.left();
    m_mark->setGeometry(left + 1, area.top() + 1, width - 2, m_mark->sizeHint().height());
    m_mark->raise();
}
