#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

// The LIKE comparison of the text database: '%' stands for any run of characters and '_' for
// any one character; pattern and text are compared as TextFolding folds them, and a blank (or
// a run of blanks) in the pattern stands for a whole run of blanks, line breaks and
// punctuation marks of the text: a word typed between blanks is found before a comma or a
// full stop, and a phrase across a Quranic pause mark, which folding drops, is still found.
class LikeMatcher {
public:
    // escape, when not 0, makes the pattern character after it stand for itself.
    explicit LikeMatcher(std::string_view utf8Pattern, char32_t escape = 0);
    explicit LikeMatcher(const QString &pattern, char32_t escape = 0);

    bool matches(std::string_view utf8Text) const;
    bool matches(const QString &text) const;

    // A place in a text where the pattern matches: the UTF-16 positions [from, to).
    struct Match {
        qsizetype from;
        qsizetype to;
    };
    // Where the pattern, without its leading and trailing '%', matches in the text: searched
    // from the start, each search going on where the last match ended, so the matches are in
    // text order and do not overlap. A blank of the pattern at either end stands for the blanks
    // and punctuation around a match, which are not part of it. Every text that matches()
    // holds at least one match, unless the pattern is nothing but '%'.
    std::vector<Match> find(const QString &text) const;

    // Replaces the connection's like(pattern, text) and like(pattern, text, escape) functions;
    // raises an Error with SQLite's reason when it cannot.
    static void install(sqlite3 *db);

private:
    enum Kind : char32_t { AnyRun = 0xFFFFFFFF, AnyOne = 0xFFFFFFFE, Blanks = 0xFFFFFFFD };

    void compile(const std::u32string &pattern, char32_t escape);
    bool matchFolded(std::u32string_view text) const;
    // Matches the tokens [first, last) from the folded text's position `at`, to the text's end
    // unless `anyEnd`; [from, to) receives the match without the blanks of a pattern's blank
    // at either end.
    bool matchAt(std::u32string_view text, size_t at, size_t first, size_t last, bool anyEnd,
                 size_t &from, size_t &to) const;

    void chooseRequiredLetters();

    std::vector<char32_t> m_tokens; // folded literals, AnyRun, AnyOne and Blanks
    // Where the pattern's final run of AnyRun starts (size_t(-1) without one): once matched
    // up to there, any rest of the text matches.
    size_t m_trailingRuns = size_t(-1);
    bool m_matchesAll = false; // the pattern is nothing but AnyRun: every text matches
    // A text can only match when its bytes hold, for each entry, one of the UTF-8 forms of
    // the characters that fold to one of the pattern's rarer letters: rows without them are
    // passed over without being decoded.
    std::vector<std::vector<std::string>> m_required;
};
