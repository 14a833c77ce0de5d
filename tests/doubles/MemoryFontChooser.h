#pragma once

#include "platform/FontChooser.h"

#include <QList>
#include <functional>

// A font chooser that answers at once, the way a reader was told to: cancel, or confirm after
// the edit set beforehand (none: the preset unchanged). Records every preset; installed for
// its lifetime.
class MemoryFontChooser : public FontChooser {
public:
    using Edit = std::function<void(Answer &)>;

    MemoryFontChooser();
    ~MemoryFontChooser() override;

    bool choose(QWidget *parent, const Font &preset, Answer *answer) override;

    void setCancel(bool cancel) { m_cancel = cancel; }
    // The reader's changes, made to an answer that starts as the preset with nothing changed.
    void setEdit(Edit edit) { m_edit = std::move(edit); }
    const QList<Font> &presets() const { return m_presets; }

private:
    bool m_cancel = false;
    Edit m_edit;
    QList<Font> m_presets;
    FontChooser *m_previous;
};
