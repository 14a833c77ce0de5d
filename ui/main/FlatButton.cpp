#include "ui/main/FlatButton.h"

FlatButton::FlatButton(const QString &name, const QString &caption, const QColor &hot,
                       const QColor &down, QWidget *parent)
    : QToolButton(parent)
{
    setObjectName(name);
    setText(caption);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setAutoRaise(true);
    setAttribute(Qt::WA_Hover);
    setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"
                                 "QToolButton:hover { background: %1; }"
                                 "QToolButton:pressed { background: %2; }")
                      .arg(hot.name(), down.name()));
}
