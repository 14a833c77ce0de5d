#pragma once

#include <QString>
#include <optional>

// A verse named as a reader types it: "2:255", "۲:۲۵۵", "2 255", "بقره ۲۵۵", "البقره ۲۵۵",
// "سوره بقره آيه ۲۵۵" or "آل عمران ۷". The sura is its number or its name, with or without
// "ال" and spelled with Persian or Arabic letters; the verse is the number at the end.
class VerseAddress {
public:
    int sura = 0;
    int verse = 0;

    // The address a text names, or none when it names no verse of the Quran (a sura or a verse
    // number out of range included).
    static std::optional<VerseAddress> parse(const QString &text);
    // What to tell a reader whose text names no verse, in Persian.
    static QString problem(const QString &text);
};
