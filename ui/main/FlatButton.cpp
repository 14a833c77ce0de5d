#include "ui/main/FlatButton.h"

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
    if (isDown())
        painter.fillRect(rect(), m_down);
    else if (underMouse() && isEnabled())
        painter.fillRect(rect(), m_hot);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}
