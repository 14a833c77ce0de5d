#include "ui/main/PopupMenu.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

namespace {

// Draws a menu's items in the menu's own direction: a painter reads text in the program's
// direction, left to right, and would align the items' text to the left.
class ItemDirectionStyle : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        if (element == CE_MenuItem) {
            const Qt::LayoutDirection before = painter->layoutDirection();
            painter->setLayoutDirection(option->direction);
            QProxyStyle::drawControl(element, option, painter, widget);
            painter->setLayoutDirection(before);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

} // namespace

PopupMenu::PopupMenu(QWidget *parent)
    : QMenu(parent)
{
    // A menu is a window of its own, which takes neither its parent's direction nor its font.
    setLayoutDirection(Qt::RightToLeft);
    setAttribute(Qt::WA_WindowPropagation);
    auto *style = new ItemDirectionStyle;
    style->setParent(this);
    setStyle(style);
}
