#include "platform/ColorChooser.h"

#include "platform/SystemColorChooser.h"

ColorChooser::~ColorChooser() = default;

template <> ColorChooser &Service<ColorChooser>::systemDefault()
{
    static SystemColorChooser system;
    return system;
}
