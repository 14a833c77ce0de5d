#pragma once

#include "platform/Service.h"

#include <QColor>
#include <QList>

class QWidget;

// The platform's colour chooser, with its sixteen custom colours. The default implementation
// shows the toolkit's own dialog; tests install MemoryColorChooser instead.
class ColorChooser : public Service<ColorChooser> {
public:
    static constexpr int customColorCount = 16;

    virtual ~ColorChooser();

    // Shows the chooser preset to `color` and to the custom colours (an invalid colour for an
    // empty one; missing ones are empty). True when the reader confirmed: `color` is then the
    // chosen colour and `customColors` the sixteen as the reader left them. On cancel both
    // stay as they were.
    virtual bool choose(QWidget *parent, QColor *color, QList<QColor> *customColors) = 0;
};

template <> ColorChooser &Service<ColorChooser>::systemDefault();
