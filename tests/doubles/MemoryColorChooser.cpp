#include "doubles/MemoryColorChooser.h"

MemoryColorChooser::MemoryColorChooser()
    : m_previous(&ColorChooser::current())
{
    ColorChooser::setCurrent(this);
}

MemoryColorChooser::~MemoryColorChooser()
{
    ColorChooser::setCurrent(m_previous);
}

bool MemoryColorChooser::choose(QWidget *, QColor *color, QList<QColor> *customColors)
{
    QList<QColor> custom;
    for (int i = 0; i < customColorCount; ++i)
        custom.append(customColors->value(i));
    m_presets.append({*color, custom});
    if (m_cancel)
        return false;
    QColor chosen = *color;
    if (m_edit)
        m_edit(chosen, custom);
    *color = chosen;
    *customColors = custom;
    return true;
}
