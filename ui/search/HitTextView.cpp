#include "ui/search/HitTextView.h"

#include <QAbstractTextDocumentLayout>
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <tuple>

namespace {

// A glyph where it is drawn, in 1/64 of a pixel, as the layout places glyphs.
struct Placed {
    quint32 glyph;
    qint64 x, y;
    bool operator<(const Placed &o) const
    {
        return std::tie(glyph, x, y) < std::tie(o.glyph, o.x, o.y);
    }
};

Placed placed(quint32 glyph, const QPointF &at)
{
    return {glyph, qRound64(at.x() * 64), qRound64(at.y() * 64)};
}

} // namespace

HitTextView::HitTextView(QWidget *parent)
    : QTextEdit(parent)
{
    // A block's layout keeps its shaped glyphs: otherwise each paint, each hit test and each
    // caret move shapes the whole paragraph anew, and one paragraph of a long text with its
    // marks is thousands of characters. Blocks are made as the text changes, and each is
    // marked before it is first laid out.
    connect(document(), &QTextDocument::contentsChange, this, [this](int at, int, int added) {
        QTextDocument *doc = document();
        for (QTextBlock block = doc->findBlock(at);
             block.isValid() && block.position() <= at + added; block = block.next())
            block.layout()->setCacheEnabled(true);
    });
}

void HitTextView::setHits(std::vector<Range> hits, const QColor &colour, const QColor &text)
{
    m_hits = std::move(hits);
    m_colour = colour;
    m_textColour = text;
    viewport()->update();
}

void HitTextView::paintEvent(QPaintEvent *event)
{
    QTextEdit::paintEvent(event);
    if (m_hits.empty())
        return;

    // The characters in sight: from the top left to the bottom right of the painted area
    // (either corner may hold the first one in right-to-left text).
    const QRect area = event->rect();
    const int a = cursorForPosition(area.topLeft()).position();
    const int b = cursorForPosition(area.topRight()).position();
    const int c = cursorForPosition(area.bottomLeft()).position();
    const int d = cursorForPosition(area.bottomRight()).position();
    const qsizetype first = std::min({a, b, c, d});
    const qsizetype last = std::max({a, b, c, d});
    auto hit = std::lower_bound(m_hits.begin(), m_hits.end(), first,
                                [](const Range &r, qsizetype at) { return r.to <= at; });

    // The hits' pieces, line by line, in text order.
    struct Piece {
        const QTextLayout *layout;
        int line, start, end;
    };
    std::vector<Piece> pieces;
    QTextDocument *doc = document();
    for (; hit != m_hits.end() && hit->from <= last; ++hit) {
        for (QTextBlock block = doc->findBlock(int(hit->from));
             block.isValid() && block.position() < hit->to; block = block.next()) {
            const QTextLayout *layout = block.layout();
            if (!layout)
                continue;
            const int from = int(std::max<qsizetype>(hit->from - block.position(), 0));
            const int to = int(std::min<qsizetype>(hit->to - block.position(), block.length()));
            for (int i = layout->lineForTextPosition(from).lineNumber();
                 i >= 0 && i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                if (line.textStart() >= to)
                    break;
                const int start = std::max(from, line.textStart());
                const int end = std::min(to, line.textStart() + line.textLength());
                if (end > start)
                    pieces.push_back({layout, i, start, end});
            }
        }
    }

    QPainter painter(viewport());
    painter.setClipRect(area);
    const QPointF scrolled(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    const QBrush ground = viewport()->palette().brush(viewport()->backgroundRole());
    for (size_t i = 0; i < pieces.size();) {
        size_t j = i;
        while (j < pieces.size() && pieces[j].layout == pieces[i].layout &&
               pieces[j].line == pieces[i].line)
            ++j;
        // Within the hits' boxes the line is drawn anew, on clean ground, its other letters
        // in the text's colour and the hits' in the hit colour, so no dark edge of a black
        // letter is left under a coloured one.
        const QTextLine line = pieces[i].layout->lineAt(pieces[i].line);
        const QPointF origin = scrolled + pieces[i].layout->position();
        // Each request for glyphs walks the line's run from the run's start (a paragraph is a
        // few long runs), so the line is asked once for each hit and once for all its glyphs;
        // the others are all of them but the hits'.
        QList<QGlyphRun> hits, others;
        QRegion boxes;
        std::vector<Placed> hitGlyphs;
        for (size_t k = i; k < j; ++k) {
            const QList<QGlyphRun> runs =
                line.glyphRuns(pieces[k].start, pieces[k].end - pieces[k].start);
            for (const QGlyphRun &run : runs) {
                boxes += run.boundingRect().translated(origin).toAlignedRect();
                const QList<quint32> glyphs = run.glyphIndexes();
                const QList<QPointF> positions = run.positions();
                for (qsizetype g = 0; g < glyphs.size() && g < positions.size(); ++g)
                    hitGlyphs.push_back(placed(glyphs[g], positions[g]));
            }
            hits += runs;
        }
        std::sort(hitGlyphs.begin(), hitGlyphs.end());
        for (QGlyphRun run : line.glyphRuns()) {
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            QList<quint32> keptGlyphs;
            QList<QPointF> keptPositions;
            for (qsizetype g = 0; g < glyphs.size() && g < positions.size(); ++g) {
                if (std::binary_search(hitGlyphs.begin(), hitGlyphs.end(),
                                       placed(glyphs[g], positions[g])))
                    continue;
                keptGlyphs.push_back(glyphs[g]);
                keptPositions.push_back(positions[g]);
            }
            if (keptGlyphs.isEmpty())
                continue;
            if (keptGlyphs.size() < glyphs.size()) {
                run.setGlyphIndexes(keptGlyphs);
                run.setPositions(keptPositions);
            }
            others += run;
        }
        painter.save();
        painter.setClipRegion(boxes, Qt::IntersectClip);
        painter.fillRect(boxes.boundingRect(), ground);
        painter.setPen(m_textColour);
        for (const QGlyphRun &run : others)
            painter.drawGlyphRun(origin, run);
        painter.setPen(m_colour);
        for (const QGlyphRun &run : hits)
            painter.drawGlyphRun(origin, run);
        painter.restore();
        i = j;
    }
}
