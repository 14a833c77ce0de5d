#pragma once

#include <QColor>

class QWidget;

// Colours set in pairs: wherever the program sets a background it sets the text colour that
// reads on it, and the other way round, so that a desktop's dark palette never puts its light
// text on a background the program made light (or its dark text on one made dark).
class ColourPair {
public:
    // The contrast ratio of two colours as the accessibility guidelines reckon it, 1 to 21.
    static double contrast(const QColor &a, const QColor &b);
    // Black on light backgrounds, white on dark ones: whichever reads better.
    static QColor textOn(const QColor &background);

    // Fills the widget's own background (the window role) and sets the text drawn straight on
    // it (labels, captions of check boxes, radios and frames, flat buttons) to `text`. Without
    // one, the text keeps the colour it inherits where that reads on the background, and
    // takes textOn(background) where it does not. Push buttons and boxes keep their own pairs.
    static void setWindow(QWidget *widget, const QColor &background, const QColor &text = {});
    // Text drawn straight on a background the widget does not fill itself (a picture): the
    // window text that reads on that background.
    static void setTextOn(QWidget *widget, const QColor &background);
    // The background behind an entry box's, list's or view's text (the base role) and the
    // text on it, likewise.
    static void setBase(QWidget *widget, const QColor &background, const QColor &text = {});
};
