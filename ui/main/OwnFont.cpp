#include "ui/main/OwnFont.h"

#include <QFont>
#include <QWidget>

void OwnFont::set(QWidget *widget, const QFont &font)
{
    QFont own = font;
    own.setResolveMask(QFont::AllPropertiesResolved);
    widget->setFont(own);
}

void OwnFont::setPointSize(QWidget *widget, int points)
{
    QFont font = widget->font();
    font.setPointSize(points);
    set(widget, font);
}
