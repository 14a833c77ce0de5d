#include "ui/main/FlatButton.h"

#include "ui/main/ColourPair.h"

#include <QKeyEvent>
#include <QPainter>

FlatButton::FlatButton(const QString &name, const QString &caption, const QColor &hot,
                       const QColor &down, QWidget *parent)
    : QToolButton(parent)
    , m_hot(hot)
    , m_down(down)
{
    setObjectName(name);
    setText(caption);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setAutoRaise(true);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
}

void FlatButton::setColours(const QColor &hot, const QColor &down)
{
    m_hot = hot;
    m_down = down;
    update();
}

void FlatButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The caption is drawn on the hot or down colour, or on whatever lies behind the button:
    // its colour is the one that reads there.
    QColor fill;
    if (isDown())
        fill = m_down;
    else if (underMouse() && isEnabled())
        fill = m_hot;
    QColor text =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    if (fill.isValid()) {
        painter.fillRect(rect(), fill);
        if (ColourPair::contrast(text, fill) < 4.5)
            text = ColourPair::textOn(fill);
    }
    painter.setPen(text);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, this->text());
    if (hasFocus()) {
        QPen dotted(text, 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void FlatButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}
