#include "platform/FontChooser.h"

#include "platform/QtFontChooser.h"

FontChooser::~FontChooser() = default;

template <> FontChooser &Service<FontChooser>::systemDefault()
{
    static QtFontChooser toolkit;
    return toolkit;
}
