#pragma once

#include <QGlyphRun>
#include <QPainter>
#include <QPointF>
#include <QTextLine>
#include <algorithm>
#include <tuple>
#include <vector>

// The glyphs of some glyph runs, each known by its index and where its line placed it (in 1/64
// of a pixel). Hits are drawn by drawing a line's other glyphs in one colour and the hits' own
// runs in another, so every glyph keeps the form and join its line gave it.
class PlacedGlyphs {
public:
    void add(const QGlyphRun &run);
    // Made ready for contains(), once every run is added.
    void sort();
    bool contains(quint32 glyph, const QPointF &at) const
    {
        return std::binary_search(m_glyphs.begin(), m_glyphs.end(), placed(glyph, at));
    }

    // Draws the line's glyphs but those held here, and those whose position near() refuses.
    template <typename Near>
    void drawOthers(QPainter &painter, const QPointF &origin, const QTextLine &line,
                    Near near) const
    {
        for (QGlyphRun run : line.glyphRuns()) {
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            QList<quint32> keptGlyphs;
            QList<QPointF> keptPositions;
            for (qsizetype g = 0; g < glyphs.size() && g < positions.size(); ++g) {
                if (!near(positions[g]) || contains(glyphs[g], positions[g]))
                    continue;
                keptGlyphs.append(glyphs[g]);
                keptPositions.append(positions[g]);
            }
            if (keptGlyphs.isEmpty())
                continue;
            run.setGlyphIndexes(keptGlyphs);
            run.setPositions(keptPositions);
            painter.drawGlyphRun(origin, run);
        }
    }

private:
    struct Placed {
        quint32 glyph;
        qint64 x, y;
        bool operator<(const Placed &o) const
        {
            return std::tie(glyph, x, y) < std::tie(o.glyph, o.x, o.y);
        }
    };
    static Placed placed(quint32 glyph, const QPointF &at)
    {
        return {glyph, qRound64(at.x() * 64), qRound64(at.y() * 64)};
    }

    std::vector<Placed> m_glyphs;
};
