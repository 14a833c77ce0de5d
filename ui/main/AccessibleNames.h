#pragma once

class QWidget;

// The names screen readers speak for the controls that show no caption of their own: panes,
// grids, lists, sliders, boxes and tab rows, each named in Persian after what it shows or what
// it is for. Boxes with a caption beside them are tied to it as its buddy where they are made;
// controls with a caption of their own (buttons, check boxes, radios) are named by it.
class AccessibleNames {
public:
    // Names every control under root (root included) that the table knows and that has no
    // name yet.
    static void apply(QWidget *root);
};
