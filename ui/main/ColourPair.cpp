#include "ui/main/ColourPair.h"

#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

double luminance(const QColor &colour)
{
    const auto channel = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
           0.0722 * channel(rgb.blueF());
}

// Sets a background role and a text role, each in the active and inactive groups; disabled
// text lies half-way between the two, so that it reads as disabled on the same background.
void setPair(QWidget *widget, QPalette::ColorRole backgroundRole, const QColor &background,
             std::initializer_list<QPalette::ColorRole> textRoles, QColor text)
{
    QPalette palette = widget->palette();
    // Without a colour of its own the text keeps the one it inherits where that reads, so
    // that a colour given to the whole window still reaches it.
    bool inherit = false;
    if (!text.isValid()) {
        const QColor inherited = palette.color(QPalette::Active, *textRoles.begin());
        inherit = ColourPair::contrast(inherited, background) >= 4.5;
        text = ColourPair::textOn(background);
    }
    QColor disabled = text;
    disabled.setRgbF((text.redF() + background.redF()) / 2,
                     (text.greenF() + background.greenF()) / 2,
                     (text.blueF() + background.blueF()) / 2);
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, backgroundRole, background);
        if (inherit)
            continue;
        for (const QPalette::ColorRole role : textRoles)
            palette.setColor(group, role, group == QPalette::Disabled ? disabled : text);
    }
    widget->setPalette(palette);
}

} // namespace

double ColourPair::contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ColourPair::textOn(const QColor &background)
{
    return contrast(background, Qt::black) >= contrast(background, Qt::white) ? QColor(Qt::black)
                                                                              : QColor(Qt::white);
}

void ColourPair::setWindow(QWidget *widget, const QColor &background, const QColor &text)
{
    setPair(widget, QPalette::Window, background, {QPalette::WindowText}, text);
    widget->setAutoFillBackground(true);
}

void ColourPair::setTextOn(QWidget *widget, const QColor &background)
{
    const bool filled = widget->autoFillBackground();
    const QColor window = widget->palette().color(QPalette::Window);
    setPair(widget, QPalette::Window, background, {QPalette::WindowText}, QColor());
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, window);
    widget->setPalette(palette);
    widget->setAutoFillBackground(filled);
}

void ColourPair::setBase(QWidget *widget, const QColor &background, const QColor &text)
{
    setPair(widget, QPalette::Base, background, {QPalette::Text}, text);
}
