#pragma once

#include "platform/ColorChooser.h"

// The colour chooser as the toolkit's colour dialog, whose sixteen custom colours stand for
// the chooser's. An empty custom colour is shown white and stays empty unless the reader
// puts another colour there.
class SystemColorChooser : public ColorChooser {
public:
    bool choose(QWidget *parent, QColor *color, QList<QColor> *customColors) override;
};
