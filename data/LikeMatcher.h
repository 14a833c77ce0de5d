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

    // Replaces the connection's like(pattern, text) and like(pattern, text, escape) functions;
    // raises an Error with SQLite's reason when it cannot.
    static void install(sqlite3 *db);

private:
    enum Kind : char32_t { AnyRun = 0xFFFFFFFF, AnyOne = 0xFFFFFFFE, Blanks = 0xFFFFFFFD };

    void compile(const std::u32string &pattern, char32_t escape);
    bool matchFolded(std::u32string_view text) const;

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
