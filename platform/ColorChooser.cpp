#include "platform/ColorChooser.h"

#include "platform/QtColorChooser.h"

namespace {
ColorChooser *g_current = nullptr;
}

ColorChooser::~ColorChooser() = default;

ColorChooser &ColorChooser::current()
{
    static QtColorChooser toolkit;
    return g_current ? *g_current : toolkit;
}

void ColorChooser::setCurrent(ColorChooser *chooser)
{
    g_current = chooser;
}
