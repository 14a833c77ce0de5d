#include "platform/FontChooser.h"

#include "platform/SystemFontChooser.h"

FontChooser::~FontChooser() = default;

template <> FontChooser &Service<FontChooser>::systemDefault()
{
    static SystemFontChooser system;
    return system;
}
