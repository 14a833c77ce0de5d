#pragma once

#include "platform/KeyboardLayout.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct _XDisplay;

// Switches an X11 keyboard to the group that holds the asked-for layout: "00000429" to the
// group whose layout is Persian ("ir"), "00000409" to the one whose layout is US ("us"). Only
// the locked group changes; the user's configured layouts are never touched. When the keymap
// has no such group, or there is no X display to talk to, nothing happens.
class XkbKeyboardLayout : public KeyboardLayout {
public:
    // The layout a keyboard group was built from, as in "ir(pes_keypad)".
    struct Group {
        QString layout;
        QString variant;
        bool operator==(const Group &other) const
        {
            return layout == other.layout && variant == other.variant;
        }
    };

    // Connects to the named display, or to the one in DISPLAY when the name is empty.
    explicit XkbKeyboardLayout(const QByteArray &displayName = QByteArray());
    ~XkbKeyboardLayout() override;
    XkbKeyboardLayout(const XkbKeyboardLayout &) = delete;
    XkbKeyboardLayout &operator=(const XkbKeyboardLayout &) = delete;

    // Whether the application runs on a session whose keyboard this class can switch: the X11
    // platform, and not a Wayland session that merely runs X clients.
    static bool suitsSession();

    bool isConnected() const { return m_display != nullptr; }
    void activate(const QString &layoutId) override;

    // The layouts of the keyboard's groups, first group first, as the server has them now.
    QList<Group> groups() const;

    // The groups named by the root window's rules property: rules, model, layouts, variants
    // and options, each ended by a zero byte; layouts and variants are comma-separated lists.
    static QList<Group> groupsFromRulesNames(const QByteArray &property);
    // The groups named by a keymap's symbols component, as in "pc+us+ir:2+inet(evdev)".
    static QList<Group> groupsFromSymbols(const QString &symbols);
    // The index of the group that holds the layout, or -1 when none does.
    static int groupFor(const QString &layoutId, const QList<Group> &groups);

private:
    _XDisplay *m_display = nullptr;
};
