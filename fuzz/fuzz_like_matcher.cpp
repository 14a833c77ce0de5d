// The LIKE matcher against any pattern and text, checked against a plain dynamic-programming
// match over the same folded characters; the UTF-8 and the QString forms must agree.
//
// Input: one byte choosing the escape character (0: none), then the pattern, a NUL byte and
// the text.

#include "data/LikeMatcher.h"
#include "data/TextFolding.h"

#include <QList>

#include <algorithm>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Each pattern element: a folded character, or a wildcard.
struct Element {
    enum Kind { Literal, AnyRun, AnyOne, Blanks } kind;
    char32_t c;
};

std::vector<Element> elements(const std::u32string &pattern, char32_t escape)
{
    std::vector<Element> out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (escape && pattern[i] == escape && i + 1 < pattern.size())
            out.push_back({Element::Literal, pattern[++i]});
        else if (pattern[i] == U'%')
            out.push_back({Element::AnyRun, 0});
        else if (pattern[i] == U'_')
            out.push_back({Element::AnyOne, 0});
        else if (pattern[i] == U' ' && (out.empty() || out.back().kind != Element::Blanks))
            out.push_back({Element::Blanks, 0});
        else if (pattern[i] == U' ')
            continue;
        else
            out.push_back({Element::Literal, pattern[i]});
    }
    return out;
}

bool reference(const std::vector<Element> &pattern, const std::u32string &text)
{
    // row[j]: the pattern's first i elements match the text's first j characters.
    std::vector<char> row(text.size() + 1, 0);
    row[0] = 1;
    for (const Element &e : pattern) {
        std::vector<char> next(text.size() + 1, 0);
        if (e.kind == Element::AnyRun) {
            next[0] = row[0];
            for (size_t j = 1; j <= text.size(); ++j)
                next[j] = row[j] || next[j - 1];
        } else if (e.kind == Element::Blanks) {
            // A whole run of boundary characters: from any start, up to the run's end.
            for (size_t k = 0; k < text.size(); ++k) {
                if (!row[k])
                    continue;
                size_t j = k;
                while (j < text.size() && TextFolding::isBoundary(text[j]))
                    ++j;
                if (j > k)
                    next[j] = 1;
            }
        } else {
            for (size_t j = 1; j <= text.size(); ++j)
                next[j] = row[j - 1] && (e.kind == Element::AnyOne || e.c == text[j - 1]);
        }
        row.swap(next);
    }
    return row[text.size()];
}

std::u32string folded(const QString &text)
{
    std::u32string out;
    for (const char32_t c : text.toUcs4()) {
        const char32_t f = TextFolding::fold(c);
        if (f == TextFolding::Ignored)
            continue;
        if (!QChar::isSpace(f))
            out.push_back(f);
        else if (out.empty() || out.back() != U' ') // a run of blanks is one blank
            out.push_back(U' ');
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > 4096)
        return 0;
    const char32_t escape = data[0] & 0x7F;
    const std::string_view rest(reinterpret_cast<const char *>(data) + 1, size - 1);
    const size_t nul = rest.find('\0');
    const std::string_view pattern = rest.substr(0, nul);
    const std::string_view text =
        nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);

    const LikeMatcher matcher(pattern, escape);
    const bool utf8Match = matcher.matches(text);
    const QString patternText = QString::fromUtf8(pattern.data(), qsizetype(pattern.size()));
    const QString textText = QString::fromUtf8(text.data(), qsizetype(text.size()));
    const LikeMatcher qtMatcher(patternText, escape);
    const bool qtMatch = qtMatcher.matches(textText);

    // Malformed bytes read as QString::fromUtf8 reads them: the two forms always agree.
    if (utf8Match != qtMatch)
        std::abort();
    const std::vector<Element> patternElements =
        elements(folded(patternText), TextFolding::fold(escape));
    if (qtMatch != reference(patternElements, folded(textText)))
        std::abort();
    // A text that matches shows where, in order and inside the text, unless the pattern is
    // nothing but runs.
    const std::vector<LikeMatcher::Match> found = qtMatcher.find(textText);
    qsizetype end = 0;
    for (const LikeMatcher::Match &m : found) {
        if (m.from < end || m.to <= m.from || m.to > textText.size())
            std::abort();
        end = m.to;
    }
    const bool onlyRuns = std::all_of(patternElements.begin(), patternElements.end(),
                                      [](const Element &e) { return e.kind == Element::AnyRun; });
    if (qtMatch && !onlyRuns && found.empty())
        std::abort();
    if (!qtMatch && !found.empty())
        std::abort();
    return 0;
}
