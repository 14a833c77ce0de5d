#include "ui/main/Theme.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

namespace {

constexpr QPalette::ColorGroup kGroups[] = {QPalette::Active, QPalette::Inactive,
                                            QPalette::Disabled};

struct Colours {
    QRgb window, windowText, base, alternateBase, toolTipBase, toolTipText, placeholder, text,
        button, buttonText, light, midlight, mid, dark, shadow, highlight, highlightedText, link,
        linkVisited, disabledText;
    // The program's own colours, in the order of Theme::Role.
    QRgb own[9];
};

// Body text on the panes' ground is above 7:1 in both; hits above 4.5:1; the selection's text
// above 4.5:1 on the highlight.
// clang-format off
constexpr Colours kNight = {
    // window, windowText, base, alternateBase, toolTipBase, toolTipText, placeholder, text
    0x202328, 0xE6E4E0, 0x16181C, 0x1D2025, 0x3B3620, 0xF2EFE6, 0x8C8C8C, 0xE8E6E3,
    // button, buttonText, light, midlight, mid, dark, shadow, highlight
    0x23262B, 0xE6E4E0, 0x4A4F57, 0x35393F, 0x2A2D33, 0x141619, 0x000000, 0x3F6FB0,
    // highlightedText, link, linkVisited, disabledText
    0xFFFFFF, 0x8AB4F8, 0xC58AF9, 0x7D7D7D,
    // the window, status panel, side list, splitter, hot and down buttons, pane, text, hits
    {0x202328, 0x1B3A40, 0x2A2D33, 0x2F6F6F, 0x3B4048, 0x5A5430, 0x16181C, 0xE8E6E3, 0xFF7A7A}};
constexpr Colours kPaper = {
    0xF4ECD8, 0x2E2416, 0xFBF6E9, 0xF3EAD6, 0xFFF3C4, 0x2E2416, 0x8A7A5C, 0x2E2416,
    0xEADFC3, 0x2E2416, 0xFFFDF6, 0xEDE3C9, 0xC9B98F, 0xA08D63, 0x5A4A2E, 0x8A5A2B,
    0xFFFFFF, 0x6B3F12, 0x7A3F6B, 0x8E7F62,
    {0xF4ECD8, 0xD9C9A0, 0xEDE3C9, 0x8B6B3E, 0xE0D3B0, 0xE8D98A, 0xFBF6E9, 0x2E2416, 0xB00000}};
// clang-format on

QPalette paletteOf(const Colours &c)
{
    QPalette p;
    const auto set = [&p](QPalette::ColorRole role, QRgb rgb) {
        p.setColor(QPalette::All, role, QColor(rgb));
    };
    set(QPalette::Window, c.window);
    set(QPalette::WindowText, c.windowText);
    set(QPalette::Base, c.base);
    set(QPalette::AlternateBase, c.alternateBase);
    set(QPalette::ToolTipBase, c.toolTipBase);
    set(QPalette::ToolTipText, c.toolTipText);
    set(QPalette::PlaceholderText, c.placeholder);
    set(QPalette::Text, c.text);
    set(QPalette::Button, c.button);
    set(QPalette::ButtonText, c.buttonText);
    set(QPalette::BrightText, 0xFFFFFF);
    set(QPalette::Light, c.light);
    set(QPalette::Midlight, c.midlight);
    set(QPalette::Mid, c.mid);
    set(QPalette::Dark, c.dark);
    set(QPalette::Shadow, c.shadow);
    set(QPalette::Highlight, c.highlight);
    set(QPalette::HighlightedText, c.highlightedText);
    set(QPalette::Link, c.link);
    set(QPalette::LinkVisited, c.linkVisited);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(c.disabledText));
    return p;
}

const Colours *coloursOf(Theme::Kind kind)
{
    switch (kind) {
    case Theme::Night:
        return &kNight;
    case Theme::Paper:
        return &kPaper;
    case Theme::Day:
        break;
    }
    return nullptr;
}

// The bit of a palette's resolve mask that tells that the role of the group is set.
QPalette::ResolveMask bitOf(QPalette::ColorGroup group, QPalette::ColorRole role)
{
    QPalette probe;
    probe.setResolveMask(0);
    probe.setColor(group, role, Qt::black);
    return probe.resolveMask();
}

QPalette::ColorRole textRoleOf(QPalette::ColorRole background)
{
    switch (background) {
    case QPalette::Base:
        return QPalette::Text;
    case QPalette::Button:
        return QPalette::ButtonText;
    default:
        return QPalette::WindowText;
    }
}

QByteArray propertyName(QPalette::ColorRole role)
{
    return "kevranDayColour" + QByteArray::number(int(role));
}

} // namespace

Theme::Theme() = default;

Theme &Theme::current()
{
    static Theme theme;
    return theme;
}

QString Theme::id(Kind kind)
{
    switch (kind) {
    case Night:
        return QStringLiteral("night");
    case Paper:
        return QStringLiteral("paper");
    case Day:
        break;
    }
    return QStringLiteral("day");
}

bool Theme::fromId(const QString &id, Kind *kind)
{
    for (const Kind k : {Day, Night, Paper}) {
        if (Theme::id(k) == id) {
            *kind = k;
            return true;
        }
    }
    return false;
}

QString Theme::caption(Kind kind)
{
    switch (kind) {
    case Night:
        return QStringLiteral("شب");
    case Paper:
        return QStringLiteral("کاغذي");
    case Day:
        break;
    }
    return QStringLiteral("روز");
}

QColor Theme::color(Role role, const QColor &day) const
{
    const Colours *colours = coloursOf(m_kind);
    return colours ? QColor(colours->own[role]) : day;
}

QPalette Theme::palette(Kind kind) const
{
    const Colours *colours = coloursOf(kind);
    if (colours)
        return paletteOf(*colours);
    return m_dayTaken ? m_day : QApplication::palette();
}

void Theme::setKind(Kind kind)
{
    if (kind == m_kind)
        return;
    if (!m_dayTaken) {
        m_day = QApplication::palette();
        m_dayTaken = true;
    }
    m_kind = kind;
    QApplication::setPalette(palette(kind));
    emit changed();
    emit overlaid();
}

void Theme::keepDay(QWidget *window)
{
    QPalette day = current().palette(Day);
    // Every role set: a change of the application's palette no longer reaches the window.
    day.setResolveMask(~QPalette::ResolveMask(0));
    window->setPalette(day);
}

void Theme::follow(QObject *receiver, const std::function<void()> &apply)
{
    apply();
    connect(&current(), &Theme::changed, receiver, apply);
}

void Theme::remember(QWidget *widget, QPalette::ColorRole role)
{
    const QByteArray name = propertyName(role);
    if (widget->property(name.constData()).isValid())
        return;
    const QPalette own = widget->palette();
    QVariantList colours;
    for (const QPalette::ColorGroup group : kGroups) {
        const bool set = own.resolveMask() & bitOf(group, role);
        colours.append(set ? QVariant(own.color(group, role)) : QVariant());
    }
    widget->setProperty(name.constData(), colours);
}

void Theme::restore(QWidget *widget, QPalette::ColorRole role, QPalette &palette) const
{
    const QVariantList colours = widget->property(propertyName(role).constData()).toList();
    for (int i = 0; i < 3 && i < colours.size(); ++i) {
        if (colours[i].isValid())
            palette.setColor(kGroups[i], role, colours[i].value<QColor>());
        else
            palette.setResolveMask(palette.resolveMask() & ~bitOf(kGroups[i], role));
    }
}

void Theme::paint(QWidget *widget, QPalette::ColorRole background, Role role, const QColor &day)
{
    const QPalette::ColorRole text = textRoleOf(background);
    remember(widget, text);
    QPalette palette = widget->palette();
    palette.setColor(background, color(role, day));
    if (const Colours *colours = coloursOf(m_kind))
        palette.setColor(text, paletteOf(*colours).color(QPalette::Active, text));
    else
        restore(widget, text, palette);
    widget->setPalette(palette);
}

void Theme::paintText(QWidget *widget)
{
    constexpr QPalette::ColorRole roles[] = {QPalette::Text, QPalette::WindowText,
                                             QPalette::ButtonText};
    for (const QPalette::ColorRole role : roles)
        remember(widget, role);
    QPalette palette = widget->palette();
    const Colours *colours = coloursOf(m_kind);
    const QPalette theme = colours ? paletteOf(*colours) : QPalette();
    for (const QPalette::ColorRole role : roles) {
        if (!colours) {
            restore(widget, role, palette);
            continue;
        }
        for (const QPalette::ColorGroup group : kGroups)
            palette.setColor(group, role, theme.color(group, role));
    }
    widget->setPalette(palette);
}
