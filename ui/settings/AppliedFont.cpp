#include "ui/settings/AppliedFont.h"

#include "settings/SettingsFont.h"

QFont AppliedFont::of(const SettingsFont &font, int maxPixels, bool *bounded)
{
    QFont applied = font.toQFont();
    const bool tooLarge = applied.pixelSize() > maxPixels;
    if (tooLarge)
        applied.setPixelSize(maxPixels);
    if (bounded)
        *bounded = tooLarge;
    return applied;
}
