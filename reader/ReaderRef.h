#pragma once

#include <QString>

// What a reader's entry points at, keyed so that it survives rebuilding the text database from
// its sources: a verse by sura and verse number, a Nahj al-Balagha item by its section and its
// number in that section.
struct ReaderRef {
    enum Kind {
        Verse = 0,
        Preface = 1, // the compiler's preface; number 1
        Sermon = 2,
        Letter = 3,
        Saying = 4,
        RareWord = 5,
    };
    static constexpr int KindCount = 6;

    int kind = Verse;
    int number = 0; // the sura, or the item's number in its section
    int verse = 0;  // the verse in the sura; 0 for a Nahj item

    static ReaderRef ofVerse(int sura, int verse) { return {Verse, sura, verse}; }
    // An item of the text database's Nahj rows: its section code (0 for the preface) and ID.
    static ReaderRef ofNahj(int code, int id) { return {code + Preface, id, 0}; }

    bool isVerse() const { return kind == Verse; }
    bool isNahj() const { return kind >= Preface && kind < KindCount; }
    // The section code and ID of a Nahj item in the text database.
    int nahjCode() const { return kind - Preface; }

    // Whether it can name anything at all: a known kind, a verse of the Quran's 114 suras, an
    // item number from 1.
    bool isWellFormed() const;

    // How the reader sees it: «البقرة ۲۵۵», «خطبه ۲۷».
    QString label() const;
    // The kind's name in exported files: verse, preface, sermon, letter, saying, rare-word.
    QString kindName() const;
    // The kind of a name in exported files; -1 for none.
    static int kindOf(const QString &name);

    // One number for the ref, for hashing.
    quint64 key() const
    {
        return (quint64(quint32(kind)) << 48) | (quint64(quint32(number)) << 16) |
               quint64(quint16(verse));
    }

    bool operator==(const ReaderRef &o) const
    {
        return kind == o.kind && number == o.number && verse == o.verse;
    }
    bool operator!=(const ReaderRef &o) const { return !(*this == o); }
    bool operator<(const ReaderRef &o) const
    {
        if (kind != o.kind)
            return kind < o.kind;
        if (number != o.number)
            return number < o.number;
        return verse < o.verse;
    }
};
