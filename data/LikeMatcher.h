#pragma once

#include <QString>
#include <string_view>
#include <vector>

struct sqlite3;

// The LIKE comparison of the text database: '%' stands for any run of characters and '_' for
// any one character; letters compare without regard to case, and the Arabic and Persian forms
// of yeh (ي ی ى) and of kaf (ك ک) count as one letter each.
class LikeMatcher {
public:
    // The character as comparisons see it.
    static char32_t fold(char32_t c);
    static QString fold(const QString &text);
    // Only the yeh and kaf forms as one letter each, letter case kept; the length stays.
    static QString foldLetterForms(const QString &text);

    // escape, when not 0, makes the pattern character after it stand for itself.
    explicit LikeMatcher(std::string_view utf8Pattern, char32_t escape = 0);
    explicit LikeMatcher(const QString &pattern, char32_t escape = 0);

    bool matches(std::string_view utf8Text) const;
    bool matches(const QString &text) const;

    // Replaces the connection's like(pattern, text) and like(pattern, text, escape) functions.
    static void install(sqlite3 *db);

private:
    enum Kind : char32_t { AnyRun = 0xFFFFFFFF, AnyOne = 0xFFFFFFFE };

    void compile(const std::u32string &pattern, char32_t escape);
    bool matchFolded(const std::u32string &text) const;

    std::vector<char32_t> m_tokens; // folded literals, AnyRun and AnyOne
};
