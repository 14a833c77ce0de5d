#include "ui/print/PrintRenderer.h"

#include "data/PersianDigits.h"
#include "ui/main/PlacedGlyphs.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <algorithm>
#include <memory>

namespace {

const QColor kInk(0x10, 0x10, 0x10);
const QColor kHit(0xC0, 0x00, 0x00);
const QColor kFrame(0x3A, 0x5A, 0x40);

// The pages of one print: where the next line goes, and the frame and number of each page.
class Pages {
public:
    Pages(QPainter &painter, QPagedPaintDevice *device, const QFont &numberFont, int from, int to)
        : m_painter(painter)
        , m_device(device)
        , m_numberFont(numberFont)
        , m_from(from)
        , m_to(to)
    {
        const qreal mm = device->logicalDpiY() / 25.4;
        m_mm = mm;
        const QRectF whole(0, 0, device->width(), device->height());
        // Inside the frame, with room for the page number under it.
        m_frame = whole.adjusted(0, 0, 0, -8 * mm);
        m_area = m_frame.adjusted(5 * mm, 5 * mm, -5 * mm, -5 * mm);
        m_y = m_area.top();
        clip();
    }

    qreal mm() const { return m_mm; }
    qreal width() const { return m_area.width(); }
    qreal left() const { return m_area.left(); }
    qreal y() const { return m_y; }
    bool atTop() const { return m_y <= m_area.top(); }

    // Room for a piece of the given height: a new page when it does not fit below.
    void make(qreal height)
    {
        if (m_y + height > m_area.bottom() && !atTop())
            newPage();
    }
    void advance(qreal height) { m_y += height; }

    // Whether the pages after this one are all left out.
    bool pastEnd() const { return m_to > 0 && m_page > m_to; }

    void newPage()
    {
        finishPage();
        ++m_page;
        // A page left out is laid out like the others, so that the numbers stay, and drawn
        // through an empty clip; the device gets a page for each page put on paper.
        if (shown() && m_drawn)
            m_device->newPage();
        m_y = m_area.top();
        clip();
    }

    void finishPage()
    {
        if (!shown())
            return;
        m_drawn = true;
        m_painter.save();
        m_painter.setPen(QPen(kFrame, 0.6 * m_mm));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(m_frame);
        m_painter.setPen(QPen(kFrame, 0.2 * m_mm));
        m_painter.drawRect(m_frame.adjusted(1.2 * m_mm, 1.2 * m_mm, -1.2 * m_mm, -1.2 * m_mm));
        m_painter.setFont(m_numberFont);
        m_painter.setPen(kInk);
        const QRectF below(m_frame.left(), m_frame.bottom(), m_frame.width(), 8 * m_mm);
        m_painter.drawText(below, Qt::AlignCenter, PersianDigits::number(m_page));
        m_painter.restore();
    }

private:
    QPainter &m_painter;
    QPagedPaintDevice *m_device;
    QFont m_numberFont;
    qreal m_mm = 1;
    QRectF m_frame;
    QRectF m_area;
    qreal m_y = 0;
    int m_page = 1;
    int m_from = 0;
    int m_to = 0;
    bool m_drawn = false; // a page is on the device

    bool shown() const { return m_page >= m_from && (m_to == 0 || m_page <= m_to); }
    void clip()
    {
        if (shown())
            m_painter.setClipping(false);
        else
            m_painter.setClipRect(QRectF(0, 0, 0, 0));
    }
};

std::unique_ptr<QTextLayout> layOut(const QString &text, const QFont &font,
                                    QPagedPaintDevice *device, qreal width, Qt::Alignment alignment,
                                    qreal leading)
{
    auto layout = std::make_unique<QTextLayout>(text, font, device);
    QTextOption option(alignment);
    option.setTextDirection(Qt::RightToLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    qreal y = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height() + leading;
    }
    layout->endLayout();
    return layout;
}

// Draws the layout's lines from the pages' next line on, breaking pages between lines; the
// hits (positions in the layout's text) in the hit colour.
void draw(QPainter &painter, Pages &pages, const QTextLayout &layout, qreal leading,
          const std::vector<Printout::Range> &hits = {})
{
    painter.setPen(kInk);
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        pages.make(line.height());
        const QPointF origin(pages.left(), pages.y() - line.y());
        PlacedGlyphs hitGlyphs;
        QList<QGlyphRun> hitRuns;
        const int lineFrom = line.textStart();
        const int lineTo = lineFrom + line.textLength();
        for (const Printout::Range &hit : hits) {
            const int from = std::max(int(hit.from), lineFrom);
            const int to = std::min(int(hit.to), lineTo);
            if (to <= from)
                continue;
            for (const QGlyphRun &run : line.glyphRuns(from, to - from)) {
                hitRuns.append(run);
                hitGlyphs.add(run);
            }
        }
        hitGlyphs.sort();
        if (hitRuns.isEmpty()) {
            line.draw(&painter, origin);
        } else {
            // Every glyph once: the others in ink, the hits' in the hit colour.
            hitGlyphs.drawOthers(painter, origin, line, [](const QPointF &) { return true; });
            painter.setPen(kHit);
            for (const QGlyphRun &run : hitRuns)
                painter.drawGlyphRun(origin, run);
            painter.setPen(kInk);
        }
        pages.advance(line.height() + leading);
    }
}

QFont sized(const QFont &face, qreal points, QPagedPaintDevice *device, bool bold = false)
{
    QFont font(face, device);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

} // namespace

QString PrintRenderer::arabicFamily(const QString &fallback)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString &naskh : {QStringLiteral("Amiri"), QStringLiteral("Scheherazade"),
                                 QStringLiteral("Scheherazade New")}) {
        if (installed.contains(naskh))
            return naskh;
    }
    return fallback;
}

bool PrintRenderer::render(const Printout &printout, QPainter &painter, QPagedPaintDevice *device,
                           const QFont &arabic, const QFont &text, const Progress &progress)
{
    const QFont verseFont = sized(arabic, 15, device);
    const QFont translationFont = sized(text, 10, device);
    const QFont headingFont = sized(text, 13, device, true);
    const QFont titleFont = sized(text, 15, device, true);
    const QFont captionFont = sized(text, 10, device, true);
    Pages pages(painter, device, sized(text, 10, device), printout.fromPage, printout.toPage);
    const qreal mm = pages.mm();
    const qreal width = pages.width();
    const int total = int(printout.blocks.size());
    for (int i = 0; i < total; ++i) {
        const Printout::Block &block = printout.blocks[i];
        switch (block.kind) {
        case Printout::Block::Title: {
            const auto layout = layOut(block.text, titleFont, device, width, Qt::AlignHCenter, 0);
            draw(painter, pages, *layout, 0);
            pages.advance(4 * mm);
            break;
        }
        case Printout::Block::SuraHeading: {
            // A framed band the width of the text; a heading never ends a page.
            const auto layout = layOut(block.text, headingFont, device, width, Qt::AlignHCenter, 0);
            const qreal band = layout->boundingRect().height() + 4 * mm;
            pages.make(band + 25 * mm);
            if (!pages.atTop())
                pages.advance(3 * mm);
            const QRectF frame(pages.left(), pages.y(), width, band);
            painter.save();
            painter.setPen(QPen(kFrame, 0.4 * mm));
            painter.setBrush(QColor(0xEE, 0xF3, 0xEA));
            painter.drawRoundedRect(frame, 2 * mm, 2 * mm);
            painter.restore();
            pages.advance(2 * mm);
            draw(painter, pages, *layout, 0);
            pages.advance(4 * mm);
            break;
        }
        case Printout::Block::Basmala: {
            const auto layout = layOut(block.text, verseFont, device, width, Qt::AlignHCenter, 0);
            draw(painter, pages, *layout, 0);
            pages.advance(2 * mm);
            break;
        }
        case Printout::Block::Verse: {
            const auto verse =
                layOut(block.text + QLatin1Char(' ') + Printout::verseMark(block.number), verseFont,
                       device, width, Qt::AlignJustify, 0.5 * mm);
            const auto translation =
                layOut(block.translation, translationFont, device, width, Qt::AlignJustify, 0);
            // The verse's first line and its translation's first stay on one page.
            if (verse->lineCount() > 0 && translation->lineCount() > 0)
                pages.make(verse->lineAt(0).height() + translation->lineAt(0).height());
            draw(painter, pages, *verse, 0.5 * mm);
            pages.advance(mm);
            draw(painter, pages, *translation, 0);
            pages.advance(4 * mm);
            break;
        }
        case Printout::Block::Caption: {
            const auto layout = layOut(block.text, captionFont, device, width, Qt::AlignRight, 0);
            if (layout->lineCount() > 0)
                pages.make(layout->lineAt(0).height() * 3);
            draw(painter, pages, *layout, 0);
            pages.advance(mm);
            break;
        }
        case Printout::Block::Text: {
            // Paragraph by paragraph, each hit moved to its paragraph.
            const QFont &font = block.arabic ? verseFont : translationFont;
            qsizetype start = 0;
            while (start <= block.text.size()) {
                qsizetype end = block.text.indexOf(QLatin1Char('\n'), start);
                if (end < 0)
                    end = block.text.size();
                std::vector<Printout::Range> hits;
                for (const Printout::Range &hit : block.hits) {
                    if (hit.to > start && hit.from < end)
                        hits.push_back(
                            {std::max(hit.from, start) - start, std::min(hit.to, end) - start});
                }
                const QString paragraph = block.text.mid(start, end - start);
                if (!paragraph.trimmed().isEmpty()) {
                    const auto layout =
                        layOut(paragraph, font, device, width, Qt::AlignJustify, 0.5 * mm);
                    draw(painter, pages, *layout, 0.5 * mm, hits);
                    pages.advance(1.5 * mm);
                }
                start = end + 1;
            }
            pages.advance(3 * mm);
            break;
        }
        }
        if (progress && !progress(i + 1, total))
            return false;
        if (pages.pastEnd())
            return true;
    }
    pages.finishPage();
    return true;
}
