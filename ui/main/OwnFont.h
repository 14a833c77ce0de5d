#pragma once

class QFont;
class QWidget;

// Gives a widget a whole font of its own, so it stops following its window's font, and keeps
// the text colour it shows, which goes with the font.
class OwnFont {
public:
    static void set(QWidget *widget, const QFont &font);
    // The widget's present font at another size in points.
    static void setPointSize(QWidget *widget, int points);
};
