#include "ui/main/OwnFont.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

void OwnFont::set(QWidget *widget, const QFont &font)
{
    QFont own = font;
    own.setResolveMask(QFont::AllPropertiesResolved);
    widget->setFont(own);
    // The text colour is part of the font: the widget keeps the one it shows now.
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (const QPalette::ColorRole role :
             {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            palette.setColor(group, role, palette.color(group, role));
    widget->setPalette(palette);
}

void OwnFont::setPointSize(QWidget *widget, int points)
{
    QFont font = widget->font();
    font.setPointSize(points);
    set(widget, font);
}
