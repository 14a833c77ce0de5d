#include "doubles/MemoryFontChooser.h"

MemoryFontChooser::MemoryFontChooser()
    : m_previous(&FontChooser::current())
{
    FontChooser::setCurrent(this);
}

MemoryFontChooser::~MemoryFontChooser()
{
    FontChooser::setCurrent(m_previous);
}

bool MemoryFontChooser::choose(QWidget *, const Font &preset, Answer *answer)
{
    m_presets.append(preset);
    if (m_cancel)
        return false;
    Answer chosen;
    chosen.font = preset;
    if (m_edit)
        m_edit(chosen);
    *answer = chosen;
    return true;
}
