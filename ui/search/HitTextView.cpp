#include "ui/search/HitTextView.h"

#include <QAbstractTextDocumentLayout>
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>

HitTextView::HitTextView(QWidget *parent)
    : QTextEdit(parent)
{
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

    QPainter painter(viewport());
    painter.setClipRect(area);
    const QPointF scrolled(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    QTextDocument *doc = document();
    for (; hit != m_hits.end() && hit->from <= last; ++hit) {
        for (QTextBlock block = doc->findBlock(int(hit->from));
             block.isValid() && block.position() < hit->to; block = block.next()) {
            const QTextLayout *layout = block.layout();
            if (!layout)
                continue;
            const QPointF origin = scrolled + layout->position();
            const int from = int(std::max<qsizetype>(hit->from - block.position(), 0));
            const int to = int(std::min<qsizetype>(hit->to - block.position(), block.length()));
            for (int i = layout->lineForTextPosition(from).lineNumber();
                 i >= 0 && i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                if (line.textStart() >= to)
                    break;
                const int start = std::max(from, line.textStart());
                const int end = std::min(to, line.textStart() + line.textLength());
                if (end <= start)
                    continue;
                // Within the hit's box the line is drawn anew, on clean ground, its other
                // letters in the text's colour and the hit's in the hit colour, so no dark
                // edge of the black letters is left under the coloured ones.
                const QList<QGlyphRun> runs = line.glyphRuns(start, end - start);
                QRectF box;
                for (const QGlyphRun &run : runs)
                    box |= run.boundingRect();
                painter.save();
                painter.setClipRect(box.translated(origin).toAlignedRect(), Qt::IntersectClip);
                painter.fillRect(box.translated(origin),
                                 viewport()->palette().brush(viewport()->backgroundRole()));
                painter.setPen(m_textColour);
                const int lineEnd = line.textStart() + line.textLength();
                QList<QGlyphRun> others;
                if (start > line.textStart())
                    others += line.glyphRuns(line.textStart(), start - line.textStart());
                if (end < lineEnd)
                    others += line.glyphRuns(end, lineEnd - end);
                for (const QGlyphRun &run : others)
                    painter.drawGlyphRun(origin, run);
                painter.setPen(m_colour);
                for (const QGlyphRun &run : runs)
                    painter.drawGlyphRun(origin, run);
                painter.restore();
            }
        }
    }
}
