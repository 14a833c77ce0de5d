#include "ui/search/HitTextView.h"

#include "ui/main/PlacedGlyphs.h"

#include <QAbstractTextDocumentLayout>
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <map>

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

void HitTextView::insertInPieces(QTextCursor &cursor, const QString &text,
                                 const QTextCharFormat &format)
{
    constexpr qsizetype Piece = 256;
    QTextCharFormat other = format;
    other.setProperty(QTextFormat::UserProperty, true);
    bool second = false;
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype to = from + Piece;
        // The piece ends after the next blank that a letter follows (not a mark, which would
        // belong to the blank); a text without one goes in whole.
        while (to < text.size() && !(text[to - 1] == u' ' && text[to].isLetter()))
            ++to;
        to = std::min(to, text.size());
        cursor.insertText(text.mid(from, to - from), second ? other : format);
        second = !second;
        from = to;
    }
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

    // Each line's hits: their glyph runs, their glyphs, and the boxes they are drawn in.
    // Each request for glyphs walks the line's run from the run's start (a paragraph is a few
    // long runs), so a line is asked once for each hit and once for all its glyphs.
    const QPointF scrolled(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    struct LineHits {
        QList<QGlyphRun> runs;
        PlacedGlyphs glyphs;
        QRegion boxes;
    };
    std::map<std::pair<const QTextLayout *, int>, LineHits> lines;
    for (const Piece &piece : pieces) {
        const QTextLine line = piece.layout->lineAt(piece.line);
        const QPointF origin = scrolled + piece.layout->position();
        LineHits &hits = lines[{piece.layout, piece.line}];
        const QList<QGlyphRun> runs = line.glyphRuns(piece.start, piece.end - piece.start);
        for (const QGlyphRun &run : runs) {
            hits.boxes += run.boundingRect().translated(origin).toAlignedRect();
            hits.glyphs.add(run);
        }
        hits.runs += runs;
    }
    // Joined line by line: a region grows by merging, which costs more the more boxes it has.
    QRegion boxes;
    for (const auto &[key, hits] : lines)
        boxes += hits.boxes;
    boxes &= area;
    if (boxes.isEmpty())
        return;
    for (auto &[key, hits] : lines)
        hits.glyphs.sort();

    // Within the boxes the text is drawn anew on clean ground: the hits in the hit colour, all
    // other letters in the text's colour, so no dark edge of a black letter is left under a
    // coloured one. A box reaches above and below its line where marks stand over or under
    // the letters, into the lines beside it, so every line with letters in reach of a box is
    // drawn anew, not only the lines with hits: the ground would hide their letters there.
    // The ground is the selection's where the selection is, and the letters there (but the
    // hits) take the selection's text colour, as the view draws them.
    QPainter painter(viewport());
    painter.setClipRegion(boxes);
    const QRect reach = boxes.boundingRect();
    painter.fillRect(reach, viewport()->palette().brush(viewport()->backgroundRole()));
    const QTextCursor cursor = textCursor();
    const int selectedFrom = cursor.hasSelection() ? cursor.selectionStart() : 0;
    const int selectedTo = cursor.hasSelection() ? cursor.selectionEnd() : 0;
    const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
    struct Line {
        const QTextLayout *layout;
        int line;
        QPointF origin;
        QRegion clip, selected;
    };
    std::vector<Line> inReachLines;
    QTextBlock block = doc->findBlock(int(first));
    if (block.previous().isValid())
        block = block.previous();
    for (; block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        if (!layout)
            continue;
        const QPointF origin = scrolled + layout->position();
        if (origin.y() > reach.bottom() + 1)
            break;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            // Marks stand out of a line by less than half its height.
            const QRectF band = line.rect().translated(origin).adjusted(0, -line.height() / 2, 0,
                                                                        line.height() / 2);
            // Each line is clipped to the boxes in its reach: a clip of fewer boxes is
            // quicker to draw glyphs in.
            const QRegion clip = boxes.intersected(band.toAlignedRect());
            if (clip.isEmpty())
                continue;
            // The line's selected characters, each over the line's height.
            QRegion selected;
            const int from = std::max(selectedFrom - block.position(), line.textStart());
            const int to =
                std::min(selectedTo - block.position(), line.textStart() + line.textLength());
            for (int at = from; at < to; ++at) {
                const qreal x1 = line.cursorToX(at), x2 = line.cursorToX(at + 1);
                selected += QRectF(std::min(x1, x2), line.y(), std::abs(x2 - x1), line.height())
                                .translated(origin)
                                .toAlignedRect();
            }
            inReachLines.push_back({layout, i, origin, clip, selected.intersected(boxes)});
        }
    }
    for (const Line &l : inReachLines) {
        if (!l.selected.isEmpty()) {
            painter.setClipRegion(l.selected);
            painter.fillRect(l.selected.boundingRect(),
                             palette().brush(group, QPalette::Highlight));
        }
    }
    for (const Line &l : inReachLines) {
        const QTextLine line = l.layout->lineAt(l.line);
        const QPointF origin = l.origin;
        const QRegion &clip = l.clip;
        const auto found = lines.find({l.layout, l.line});
        const LineHits *hits = found == lines.end() ? nullptr : &found->second;
        static const PlacedGlyphs none;
        const PlacedGlyphs &hitGlyphs = hits ? hits->glyphs : none;
        // Only the glyphs near the boxes are drawn: a glyph's ink lies within a line's
        // height of its position, and the boxes cover a few letters of a long line.
        std::vector<std::pair<qreal, qreal>> near;
        for (const QRect &box : clip) {
            const qreal left = box.left() - origin.x() - line.height();
            const qreal right = box.right() + 1 - origin.x() + line.height();
            near.push_back({left, right});
        }
        std::sort(near.begin(), near.end());
        // Merged, so that the ranges are ordered by both their edges.
        size_t merged = 0;
        for (size_t k = 1; k < near.size(); ++k) {
            if (near[k].first <= near[merged].second)
                near[merged].second = std::max(near[merged].second, near[k].second);
            else
                near[++merged] = near[k];
        }
        near.resize(merged + 1);
        const auto inReach = [&near](qreal x) {
            const auto after = std::upper_bound(
                near.begin(), near.end(), x,
                [](qreal at, const std::pair<qreal, qreal> &r) { return at < r.first; });
            return after != near.begin() && x <= std::prev(after)->second;
        };
        // The letters outside the selection in the text's colour, inside it in the
        // selection's text colour.
        const QColor selectedText = palette().color(group, QPalette::HighlightedText);
        for (const auto &[part, colour] : {std::make_pair(clip - l.selected, m_textColour),
                                           std::make_pair(clip & l.selected, selectedText)}) {
            if (part.isEmpty())
                continue;
            painter.setClipRegion(part);
            painter.setPen(colour);
            hitGlyphs.drawOthers(painter, origin, line,
                                 [&inReach](const QPointF &at) { return inReach(at.x()); });
        }
        painter.setClipRegion(clip);
        if (hits) {
            painter.setPen(m_colour);
            for (const QGlyphRun &run : hits->runs)
                painter.drawGlyphRun(origin, run);
        }
    }
}
