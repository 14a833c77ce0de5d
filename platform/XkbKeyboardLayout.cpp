#include "platform/XkbKeyboardLayout.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {
constexpr int MaxGroups = XkbNumKbdGroups;

// Symbol files that the rules add to every keymap besides the layouts themselves.
bool isOptionFile(const QString &name)
{
    static const QSet<QString> files = {
        QStringLiteral("pc"),        QStringLiteral("inet"),      QStringLiteral("group"),
        QStringLiteral("ctrl"),      QStringLiteral("compose"),   QStringLiteral("altwin"),
        QStringLiteral("level3"),    QStringLiteral("level5"),    QStringLiteral("lv3"),
        QStringLiteral("lv5"),       QStringLiteral("terminate"), QStringLiteral("keypad"),
        QStringLiteral("kpdl"),      QStringLiteral("capslock"),  QStringLiteral("shift"),
        QStringLiteral("nbsp"),      QStringLiteral("eurosign"),  QStringLiteral("rupeesign"),
        QStringLiteral("srvr_ctrl"), QStringLiteral("japan"),     QStringLiteral("korean"),
        QStringLiteral("caps"),      QStringLiteral("typo"),      QStringLiteral("parens"),
        QStringLiteral("numpad"),    QStringLiteral("grp"),       QStringLiteral("mod_led"),
        QStringLiteral("shift_led"), QStringLiteral("apl"),       QStringLiteral("fkey"),
        QStringLiteral("custom"),
    };
    return files.contains(name);
}

// Persian is the "ir" layout's default variant, with or without the keypad's Persian digits;
// its other variants are Kurdish and Azerbaijani. US is the "us" layout's basic variant.
bool holds(const QString &layoutId, const XkbKeyboardLayout::Group &group)
{
    if (layoutId == KeyboardLayout::Persian)
        return group.layout == QLatin1String("ir") &&
               (group.variant.isEmpty() || group.variant == QLatin1String("pes") ||
                group.variant == QLatin1String("pes_keypad"));
    if (layoutId == KeyboardLayout::US)
        return group.layout == QLatin1String("us") &&
               (group.variant.isEmpty() || group.variant == QLatin1String("basic"));
    return false;
}

QString atomName(Display *display, Atom atom)
{
    if (atom == 0)
        return QString();
    char *name = XGetAtomName(display, atom);
    const QString result = name ? QString::fromLatin1(name) : QString();
    XFree(name);
    return result;
}

QByteArray rulesNamesProperty(Display *display)
{
    const Atom property = XInternAtom(display, "_XKB_RULES_NAMES", True);
    if (property == 0)
        return QByteArray();
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    QByteArray result;
    if (XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1024, False, XA_STRING,
                           &type, &format, &items, &remaining, &data) == Success &&
        type == XA_STRING && format == 8 && data)
        result = QByteArray(reinterpret_cast<const char *>(data), int(items));
    if (data)
        XFree(data);
    return result;
}
} // namespace

XkbKeyboardLayout::XkbKeyboardLayout(const QByteArray &displayName)
{
    int event = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    int reason = 0;
    m_display = XkbOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData(), &event,
                               &error, &major, &minor, &reason);
}

XkbKeyboardLayout::~XkbKeyboardLayout()
{
    if (m_display)
        XCloseDisplay(m_display);
}

bool XkbKeyboardLayout::suitsSession()
{
    // Under Wayland the compositor owns the keyboard's state, even for X clients.
    return QGuiApplication::platformName() == QLatin1String("xcb") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void XkbKeyboardLayout::activate(const QString &layoutId)
{
    if (!m_display)
        return;
    const int group = groupFor(layoutId, groups());
    if (group < 0)
        return;
    XkbLockGroup(m_display, XkbUseCoreKbd, unsigned(group));
    // Waits until the server has switched, so the next key typed already uses the group.
    XSync(m_display, False);
}

QList<XkbKeyboardLayout::Group> XkbKeyboardLayout::groups() const
{
    if (!m_display)
        return {};
    XkbDescPtr keyboard = XkbGetMap(m_display, 0, XkbUseCoreKbd);
    if (!keyboard)
        return {};
    int count = 0;
    QString symbols;
    if (XkbGetControls(m_display, XkbGroupsWrapMask, keyboard) == Success && keyboard->ctrls)
        count = keyboard->ctrls->num_groups;
    if (XkbGetNames(m_display, XkbSymbolsNameMask, keyboard) == Success && keyboard->names)
        symbols = atomName(m_display, keyboard->names->symbols);
    XkbFreeKeyboard(keyboard, 0, True);

    // The keymap's own names describe what is loaded now. Only when they cannot be read group
    // by group does the configuration the desktop recorded on the root window decide.
    QList<Group> result = groupsFromSymbols(symbols);
    if (result.size() != count) {
        const QList<Group> configured = groupsFromRulesNames(rulesNamesProperty(m_display));
        if (configured.size() == count || result.isEmpty())
            result = configured;
    }
    if (count > 0 && result.size() > count)
        result.resize(count);
    return result;
}

QList<XkbKeyboardLayout::Group> XkbKeyboardLayout::groupsFromRulesNames(const QByteArray &property)
{
    const QList<QByteArray> fields = property.split('\0');
    if (fields.size() < 4 || fields[2].isEmpty())
        return {};
    const QStringList layouts = QString::fromLatin1(fields[2]).split(QLatin1Char(','));
    const QStringList variants = QString::fromLatin1(fields[3]).split(QLatin1Char(','));
    QList<Group> result;
    for (int i = 0; i < layouts.size() && i < MaxGroups; ++i)
        result.append({layouts[i].trimmed(), variants.value(i).trimmed()});
    return result;
}

QList<XkbKeyboardLayout::Group> XkbKeyboardLayout::groupsFromSymbols(const QString &symbols)
{
    static const QRegularExpression part(
        QStringLiteral("^([A-Za-z0-9_./-]+)(?:\\(([^)]*)\\))?(?::([0-9]+))?$"));
    QList<Group> byIndex(MaxGroups);
    bool firstSeen = false;
    for (const QString &piece : symbols.split(QRegularExpression(QStringLiteral("[+|]")))) {
        const QRegularExpressionMatch match = part.match(piece);
        if (!match.hasMatch())
            continue;
        Group group{match.captured(1), match.captured(2)};
        if (isOptionFile(group.layout))
            continue;
        int index = 0;
        if (match.hasCaptured(3)) {
            index = match.captured(3).toInt() - 1;
        } else {
            // Without an index a part applies to the first group: the first such part is that
            // group's layout.
            if (firstSeen)
                continue;
            firstSeen = true;
        }
        if (index < 0 || index >= MaxGroups || !byIndex[index].layout.isEmpty())
            continue;
        byIndex[index] = group;
    }
    while (!byIndex.isEmpty() && byIndex.last().layout.isEmpty())
        byIndex.removeLast();
    return byIndex;
}

int XkbKeyboardLayout::groupFor(const QString &layoutId, const QList<Group> &groups)
{
    for (int i = 0; i < groups.size(); ++i) {
        if (holds(layoutId, groups[i]))
            return i;
    }
    return -1;
}
