#include "platform/ColorChooser.h"

#include "platform/QtColorChooser.h"

ColorChooser::~ColorChooser() = default;

template <> ColorChooser &Service<ColorChooser>::systemDefault()
{
    static QtColorChooser toolkit;
    return toolkit;
}
