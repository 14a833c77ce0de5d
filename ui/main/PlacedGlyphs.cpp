#include "ui/main/PlacedGlyphs.h"

void PlacedGlyphs::add(const QGlyphRun &run)
{
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype g = 0; g < glyphs.size() && g < positions.size(); ++g)
        m_glyphs.push_back(placed(glyphs[g], positions[g]));
}

void PlacedGlyphs::sort()
{
    std::sort(m_glyphs.begin(), m_glyphs.end());
}
