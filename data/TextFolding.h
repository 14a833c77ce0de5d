#pragma once

#include <QString>
#include <vector>

// How a typed text meets the texts: both sides are folded character by character before they
// are compared, so that what a Persian keyboard types finds the Arabic and Persian spellings
// of the texts. The one table of the program (LIKE of the statements, colouring of hits, the
// grids' find dialog):
//
//   ا أ إ آ ٱ                      -> ا (U+0627)
//   و ؤ                            -> و (U+0648)
//   ي ی ى ئ                        -> ي (U+064A)
//   ك ک                            -> ك (U+0643)
//   ه ة ۀ                          -> ه (U+0647)
//   0-9, ۰-۹ (U+06F0-U+06F9), ٠-٩ (U+0660-U+0669)   -> 0-9
//   ignored: ء (U+0621), tatweel (U+0640), harakat and the marks above and below
//            (U+064B-U+065F), superscript alef (U+0670), the Quranic marks (U+06D6-U+06ED),
//            ZWNJ and ZWJ (U+200C, U+200D), LRM and RLM (U+200E, U+200F)
//   Latin and other cased letters: case-folded; other Arabic-script characters as they are.
class TextFolding {
public:
    // What fold() answers for a character that comparisons skip (a noncharacter).
    static constexpr char32_t Ignored = 0xFFFF;

    static char32_t fold(char32_t c) { return c < 0x10000 ? tables().fold[c] : foldCharacter(c); }
    // fold() of every character of the Basic Multilingual Plane, for loops over whole texts.
    static const char16_t *foldTable() { return tables().fold; }
    // The folded characters of a text, each run of blanks and line breaks as one blank.
    static QString fold(const QString &text);
    // As fold(text); origin receives, for each UTF-16 unit of the result, the index in text of
    // the character it came from.
    static QString fold(const QString &text, std::vector<qsizetype> &origin);

    // Where a word ends: blanks, line breaks and punctuation (، ؛ ؟ . , ; : ! ? « » ( ) [ ]
    // and the like). A blank in a LIKE pattern stands for any of them.
    static bool isBoundary(char32_t c)
    {
        return c < 0x10000 ? tables().boundary[c] : isBoundaryCharacter(c);
    }
    // A blank or line break (QChar::isSpace, without its cost for the letters of the texts).
    static bool isBlank(char32_t c)
    {
        if (c < 0x80)
            return c == U' ' || (c >= U'\t' && c <= U'\r');
        return c == 0x85 || c == 0xA0 || (c >= 0x1680 && isOtherBlank(c));
    }
    // A character that fold() ignores and that is drawn on a letter (harakat, Quranic marks).
    static bool isMark(char32_t c);

private:
    static char32_t foldCharacter(char32_t c);
    static bool isBoundaryCharacter(char32_t c);
    // fold() and isBoundary() of every character of the Basic Multilingual Plane, made at the
    // first use: the searches ask them of every character of the texts.
    struct Tables {
        char16_t fold[0x10000];
        bool boundary[0x10000];
    };
    static const Tables &tables()
    {
        static const Tables *const made = buildTables();
        return *made;
    }
    static const Tables *buildTables();
    static bool isOtherBlank(char32_t c);
};
