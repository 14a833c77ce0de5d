#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <vector>

// What a print or a PDF holds, in reading order: headings, the basmala, verses with their
// translations, and texts with coloured hits.
class Printout {
public:
    struct Range {
        qsizetype from;
        qsizetype to;
    };
    struct Block {
        enum Kind {
            Title,       // a heading of the whole printout, such as a Nahj item's name
            SuraHeading, // the sura's name in a frame
            Basmala,
            Verse,   // Arabic text and number, the translation under it
            Text,    // a paragraph of Persian or Arabic text, its hits coloured
            Caption, // a result's reference, above its text
        };
        Kind kind;
        QString text;
        QString translation; // a verse's
        int number = 0;      // a verse's
        bool arabic = false; // a text in the Quran's face
        std::vector<Range> hits;
    };

    // The basmala as the verse text carries it.
    static const QString BasmalaText;

    QString title;    // the document's name, as a print queue or a PDF reader shows it
    QFont arabicFace; // the Arabic text's face, its size the print's own
    QFont textFace;   // the Persian text's face
    QList<Block> blocks;
    // The pages put on paper, from 1; 0 for no bound. The others are laid out and left out.
    int fromPage = 0;
    int toPage = 0;

    bool isEmpty() const { return blocks.isEmpty(); }
    void addTitle(const QString &text);
    void addCaption(const QString &text);
    // A verse; the sura's heading goes before the first verse of each sura, and the basmala
    // before its verse 1, as on the Quran page's banner. Sura 1 has none: its verse 1 is the
    // basmala itself.
    void addVerse(int sura, int verse, const QString &arabic, const QString &translation);
    void addText(const QString &text, bool arabic, std::vector<Range> hits = {});
    // A verse's number as it follows the verse: "﴿۲۵۵﴾".
    static QString verseMark(int verse);

private:
    int m_lastSura = 0;
};
