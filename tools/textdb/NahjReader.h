#pragma once

#include <QString>
#include <vector>

// One item of Nahj al-Balagha: its Arabic text beside its Persian translation.
struct NahjItem {
    int section = 0; // 0 front matter, 1 sermons, 2 letters, 3 sayings, 4 gharib sayings
    int number = 0;  // from 1 within the section
    QString title;   // the translator's short title
    QString arabic;
    QString persian;
    qint64 line = 0;
};

// Reads the aligned text (tab-separated: section, number, title_fa, arabic, persian; one item
// a line; "\\", "\n" and "\t" escaped) and checks that Arabic and Persian stay aligned.
class NahjReader {
public:
    static constexpr int SectionCount = 4;

    // Raises an Error naming the file, the line and the item on any defect; a line that is not
    // valid UTF-8 is one.
    static std::vector<NahjItem> read(const QString &path);

    // Decodes the three escapes of a field; any other backslash is kept.
    static QString unescape(const QString &field);
    // The Arabic in the form searches match: no diacritics, no punctuation, single blanks.
    static QString searchForm(const QString &arabic);
    // A section's title ("خطبه‌ها") and an item's label, its number in Persian digits
    // ("خطبه ۱").
    static QString sectionTitle(int section);
    static QString itemLabel(int section, int number);
};
