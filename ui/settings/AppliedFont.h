#pragma once

#include <QFont>

class SettingsFont;

// A stored font as the controls show it. Any height is stored as chosen, but what reaches the
// controls is bounded: a window font of thousands of pixels makes every control, and the
// window with them, too large to draw, and the program unusable at every start.
class AppliedFont {
public:
    // 72 points at 96 dots per inch.
    static constexpr int WindowMaxPixels = 96;
    // 120 points at 96 dots per inch.
    static constexpr int TextMaxPixels = 160;

    // The font no larger than maxPixels; bounded, when given, tells whether it was larger.
    static QFont of(const SettingsFont &font, int maxPixels, bool *bounded = nullptr);
};
