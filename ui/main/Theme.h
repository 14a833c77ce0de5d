#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>
#include <functional>

class QWidget;

// The reader's theme: "day" (the program's own colours), "night" or "paper". A theme is the
// application's palette, spelled out role by role so that it owes nothing to the desktop's, and
// a few colours of the program's own (the status panel, the red hits, ...). Changing it
// repaints every window at once: widgets that follow the palette need nothing, and whatever
// sets colours of its own follows the theme through follow().
class Theme : public QObject {
    Q_OBJECT
public:
    enum Kind { Day, Night, Paper };
    // The program's own colours, each with a value in every theme.
    enum Role {
        WindowBackground, // the main window
        StatusPanel,      // the Quran page's status panel
        SideList,         // the sura list and the topic buttons' ground
        SplitterHandle,
        HotButton,  // a flat button under the pointer
        DownButton, // a flat button pressed
        PaneBase,   // a reading pane's ground where the program fixes it
        BodyText,   // text the program colours itself
        HitText,    // the search hits
    };

    static Theme &current();

    Kind kind() const { return m_kind; }
    // Applies the theme at once: the application's palette, then changed(), then overlaid().
    void setKind(Kind kind);

    static QString id(Kind kind);
    static bool fromId(const QString &id, Kind *kind);
    static QString caption(Kind kind);

    // The role's colour in this theme; in the day theme, the given colour, which is the
    // program's own.
    QColor color(Role role, const QColor &day) const;
    // The application's palette in a theme; the day theme's is the palette the application
    // had before any other theme was applied.
    QPalette palette(Kind kind) const;

    // Keeps a window in the day theme's colours whatever the theme: for a window drawn over a
    // picture of its own.
    static void keepDay(QWidget *window);

    // Runs apply now and after every change of theme, until the receiver is destroyed.
    static void follow(QObject *receiver, const std::function<void()> &apply);

    // Gives the widget's palette role the role's colour of this theme, and the text role that
    // goes with it (Window with WindowText, Base with Text, Button with ButtonText) the
    // theme's text colour. In the day theme both are as they were before the first call.
    void paint(QWidget *widget, QPalette::ColorRole background, Role role, const QColor &day);
    // Gives the widget's text colours those of this theme's palette, for a widget that keeps
    // a text colour of its own; in the day theme they are as before the first call.
    void paintText(QWidget *widget);

signals:
    // The palette has changed: whatever sets colours of its own sets them anew.
    void changed();
    // Emitted after changed(): for what lies on top of a theme, such as the reader's own fonts
    // and background colours.
    void overlaid();

private:
    Theme();
    void remember(QWidget *widget, QPalette::ColorRole role);
    void restore(QWidget *widget, QPalette::ColorRole role, QPalette &palette) const;

    Kind m_kind = Day;
    QPalette m_day;
    bool m_dayTaken = false;
};
