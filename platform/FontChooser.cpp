#include "platform/FontChooser.h"

#include "platform/QtFontChooser.h"

namespace {
FontChooser *g_current = nullptr;
}

FontChooser::~FontChooser() = default;

FontChooser &FontChooser::current()
{
    static QtFontChooser toolkit;
    return g_current ? *g_current : toolkit;
}

void FontChooser::setCurrent(FontChooser *chooser)
{
    g_current = chooser;
}
