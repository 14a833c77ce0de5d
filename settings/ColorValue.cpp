#include "settings/ColorValue.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The palette entry that stands for each system colour number; an empty role means none.
bool systemRole(int n, SystemRole *out)
{
    constexpr QPalette::ColorGroup A = QPalette::Active;
    constexpr QPalette::ColorGroup D = QPalette::Disabled;
    static const SystemRole roles[] = {
        {A, QPalette::Button},          // 0 scroll bar
        {A, QPalette::Dark},            // 1 desktop background
        {A, QPalette::Highlight},       // 2 active caption
        {A, QPalette::Mid},             // 3 inactive caption
        {A, QPalette::Window},          // 4 menu
        {A, QPalette::Base},            // 5 window
        {A, QPalette::Shadow},          // 6 window frame
        {A, QPalette::WindowText},      // 7 menu text
        {A, QPalette::Text},            // 8 window text
        {A, QPalette::HighlightedText}, // 9 caption text
        {A, QPalette::Button},          // 10 active border
        {A, QPalette::Button},          // 11 inactive border
        {A, QPalette::Mid},             // 12 application work space
        {A, QPalette::Highlight},       // 13 highlight
        {A, QPalette::HighlightedText}, // 14 highlight text
        {A, QPalette::Button},          // 15 button face
        {A, QPalette::Dark},            // 16 button shadow
        {D, QPalette::Text},            // 17 grey text
        {A, QPalette::ButtonText},      // 18 button text
        {D, QPalette::WindowText},      // 19 inactive caption text
        {A, QPalette::Light},           // 20 button highlight
        {A, QPalette::Shadow},          // 21 3D dark shadow
        {A, QPalette::Midlight},        // 22 3D light
        {A, QPalette::ToolTipText},     // 23 info text
        {A, QPalette::ToolTipBase},     // 24 info background
        {A, QPalette::NoRole},          // 25 unused
        {A, QPalette::Link},            // 26 hot light
        {A, QPalette::Highlight},       // 27 gradient active caption
        {A, QPalette::Mid},             // 28 gradient inactive caption
        {A, QPalette::Highlight},       // 29 menu highlight
        {A, QPalette::Window},          // 30 menu bar
    };
    if (n < 0 || n >= int(sizeof roles / sizeof roles[0]) || roles[n].role == QPalette::NoRole)
        return false;
    *out = roles[n];
    return true;
}

} // namespace

QColor ColorValue::toQColor(qint32 value, const QPalette &palette)
{
    if (value == clNone)
        return QColor(Qt::transparent);
    if (value == clDefault)
        return QColor();
    if (isSystemColor(value)) {
        SystemRole role;
        if (!systemRole(value & 0xFF, &role) || (value & 0x00FFFF00) != 0)
            return QColor();
        return palette.color(role.group, role.role);
    }
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QColor ColorValue::toQColor(qint32 value)
{
    return toQColor(value, QGuiApplication::palette());
}

qint32 ColorValue::fromQColor(const QColor &color)
{
    if (!color.isValid())
        return clDefault;
    if (color.alpha() == 0)
        return clNone;
    return rgb(color.red(), color.green(), color.blue());
}
