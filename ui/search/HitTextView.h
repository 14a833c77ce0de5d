#pragma once

#include <QColor>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <vector>

// A read-only text view that draws ranges of its text, the hits, in a colour of their own over
// the text. Only the hits in sight are drawn, each with the glyphs its characters have in the
// laid-out line, so letters keep the forms and joins they have without colouring, and a text of
// thousands of hits costs no more than the lines on screen.
class HitTextView : public QTextEdit {
    Q_OBJECT
public:
    struct Range {
        qsizetype from;
        qsizetype to;
    };

    explicit HitTextView(QWidget *parent = nullptr);

    // The hits, in text order, not overlapping; text: the colour the text is drawn in.
    void setHits(std::vector<Range> hits, const QColor &colour,
                 const QColor &text = QColor(Qt::black));
    const std::vector<Range> &hits() const { return m_hits; }

    // Inserts text at the cursor in the format, as pieces of a few hundred characters that
    // alternate between two formats differing only in a property nothing reads. Qt walks a run
    // of one format from its start to the line it draws or measures, so in one paragraph of
    // thousands of characters in one run every line near its end costs a walk over all of it;
    // short runs keep that walk short. A piece ends only after a blank before a letter, where
    // letters do not join, so every glyph is shaped as in one run.
    static void insertInPieces(QTextCursor &cursor, const QString &text,
                               const QTextCharFormat &format);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<Range> m_hits;
    QColor m_colour;
    QColor m_textColour;
};
