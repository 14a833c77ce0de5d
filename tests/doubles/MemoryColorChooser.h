#pragma once

#include "platform/ColorChooser.h"

#include <functional>

// A colour chooser that answers at once, the way a reader was told to: cancel, or confirm
// after the edit set beforehand (none: the preset unchanged). Records every preset;
// installed for its lifetime.
class MemoryColorChooser : public ColorChooser {
public:
    using Edit = std::function<void(QColor &, QList<QColor> &)>;
    struct Preset {
        QColor color;
        QList<QColor> customColors;
    };

    MemoryColorChooser();
    ~MemoryColorChooser() override;

    bool choose(QWidget *parent, QColor *color, QList<QColor> *customColors) override;

    void setCancel(bool cancel) { m_cancel = cancel; }
    // The reader's changes to the colour and to the sixteen custom colours.
    void setEdit(Edit edit) { m_edit = std::move(edit); }
    const QList<Preset> &presets() const { return m_presets; }

private:
    bool m_cancel = false;
    Edit m_edit;
    QList<Preset> m_presets;
    ColorChooser *m_previous;
};
