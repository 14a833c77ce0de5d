#pragma once

#include "platform/FontChooser.h"

// The font chooser as a modal dialog of the toolkit (FontChooserDialog).
class SystemFontChooser : public FontChooser {
public:
    bool choose(QWidget *parent, const Font &preset, Answer *answer) override;
};
