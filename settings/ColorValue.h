#pragma once

#include <QColor>

class QPalette;

// Conversions between the 32-bit colour values of the settings objects and QColor.
// An RGB colour is r + 256 * g + 65536 * b; a system colour n is n - 16777216.
class ColorValue {
public:
    static constexpr qint32 clBlack = 0;
    static constexpr qint32 clWhite = 0xFFFFFF;
    static constexpr qint32 clNone = 536870911;
    static constexpr qint32 clDefault = 536870912;
    static constexpr qint32 clWindowText = 8 - 16777216;

    static constexpr qint32 rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }
    static constexpr qint32 systemColor(int n) { return n - 16777216; }
    static bool isSystemColor(qint32 value) { return (quint32(value) >> 24) == 0xFF; }

    // The colour as shown: a system colour takes its current value from the palette, clNone
    // is transparent, clDefault (and an unknown system colour) an invalid QColor.
    static QColor toQColor(qint32 value, const QPalette &palette);
    // The same with the application's palette.
    static QColor toQColor(qint32 value);
    // The RGB value of an opaque colour; a transparent one gives clNone, an invalid one
    // clDefault.
    static qint32 fromQColor(const QColor &color);
};
