#include "data/LikeMatcher.h"

#include "data/TextFolding.h"
#include "platform/Error.h"

#include <QChar>
#include <QList>
#include <algorithm>
#include <cstring>
#include <new>
#include <sqlite3.h>

namespace {

// Appends a folded character: ignored ones are left out, and a run of blanks and line breaks
// is one blank, as TextFolding::fold(QString) gives it.
inline void append(std::u32string &out, char32_t folded)
{
    if (folded == TextFolding::Ignored)
        return;
    if (TextFolding::isBlank(folded)) {
        if (!out.empty() && out.back() == U' ')
            return;
        folded = U' ';
    }
    out.push_back(folded);
}

// Decodes the UTF-8 sequence at p, before end, and moves p past it. A malformed sequence (a
// stray continuation byte, an overlong form, an encoded surrogate, a value above U+10FFFF, a
// sequence cut short) reads as U+FFFD and only its first byte is passed over, as
// QString::fromUtf8 reads it.
inline char32_t decodeOne(const unsigned char *&p, const unsigned char *end)
{
    const unsigned char b = *p++;
    if (b < 0x80)
        return b;
    int extra;
    char32_t c;
    // The range of the first continuation byte: narrower after some first bytes, which is
    // what leaves out the overlong forms, the surrogates and what lies above U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (b < 0xC2) {
        return 0xFFFD;
    } else if (b < 0xE0) {
        extra = 1;
        c = b & 0x1F;
    } else if (b < 0xF0) {
        extra = 2;
        c = b & 0x0F;
        if (b == 0xE0)
            low = 0xA0;
        else if (b == 0xED)
            high = 0x9F;
    } else if (b < 0xF5) {
        extra = 3;
        c = b & 0x07;
        if (b == 0xF0)
            low = 0x90;
        else if (b == 0xF4)
            high = 0x8F;
    } else {
        return 0xFFFD;
    }
    if (end - p < extra || p[0] < low || p[0] > high)
        return 0xFFFD;
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return c;
}

// Decodes UTF-8 into folded code points after the `written` ones already at out (the folded
// text before in), answering the new total; out must have room for in.size() more (a text
// never folds longer than its bytes). The searches call it for every row that passes the byte
// sieve, so the two-byte sequences of the Arabic script take a short way.
size_t decodeFoldedInto(std::string_view in, char32_t *out, size_t written = 0)
{
    const char16_t *const table = TextFolding::foldTable();
    char32_t *o = out + written;
    const auto *p = reinterpret_cast<const unsigned char *>(in.data());
    const auto *end = p + in.size();
    while (p < end) {
        const unsigned char b = *p;
        char32_t c;
        if (b < 0x80) {
            c = b;
            ++p;
        } else if (b >= 0xC2 && b < 0xE0 && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
            c = (char32_t(b & 0x1F) << 6) | (p[1] & 0x3F);
            p += 2;
        } else {
            c = decodeOne(p, end);
        }
        char32_t folded = c < 0x10000 ? char32_t(table[c]) : TextFolding::fold(c);
        if (folded == TextFolding::Ignored)
            continue;
        if (TextFolding::isBlank(folded)) {
            if (o != out && o[-1] == U' ')
                continue;
            folded = U' ';
        }
        *o++ = folded;
    }
    return size_t(o - out);
}

void decodeFolded(std::string_view in, std::u32string &out)
{
    out.resize(in.size());
    out.resize(decodeFoldedInto(in, out.data()));
}

// The folded characters of a text; origin, when given, receives for each of them the position
// in `in` of the character it came from. Half of a surrogate pair standing alone reads as
// U+FFFD, as the UTF-8 path reads a malformed sequence.
void decodeFolded(const QString &in, std::u32string &out, std::vector<qsizetype> *origin = nullptr)
{
    out.clear();
    out.reserve(size_t(in.size()));
    if (origin) {
        origin->clear();
        origin->reserve(size_t(in.size()));
    }
    const qsizetype n = in.size();
    for (qsizetype i = 0; i < n;) {
        const qsizetype at = i;
        char32_t c = in[i++].unicode();
        if (QChar::isSurrogate(c)) {
            if (QChar::isHighSurrogate(c) && i < n && in[i].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), in[i++].unicode());
            else
                c = 0xFFFD;
        }
        const size_t before = out.size();
        append(out, TextFolding::fold(c));
        if (origin && out.size() > before)
            origin->push_back(at);
    }
}

std::string_view textOf(sqlite3_value *v)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return text ? std::string_view(text, size_t(sqlite3_value_bytes(v))) : std::string_view();
}

void destroyMatcher(void *p) noexcept
{
    delete static_cast<LikeMatcher *>(p);
}

void like(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    char32_t escape = 0;
    if (argc == 3) {
        std::u32string e;
        decodeFolded(textOf(argv[2]), e);
        if (e.size() != 1)
            return sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
        escape = e.front();
    }
    auto *matcher = static_cast<LikeMatcher *>(sqlite3_get_auxdata(ctx, 0));
    if (!matcher) {
        matcher = new LikeMatcher(textOf(argv[0]), escape);
        sqlite3_set_auxdata(ctx, 0, matcher, destroyMatcher);
        // SQLite may have freed the matcher at once; fetch it back before use.
        matcher = static_cast<LikeMatcher *>(sqlite3_get_auxdata(ctx, 0));
        if (!matcher) {
            LikeMatcher once(textOf(argv[0]), escape);
            return sqlite3_result_int(ctx, once.matches(textOf(argv[1])));
        }
    }
    sqlite3_result_int(ctx, matcher->matches(textOf(argv[1])));
}

// SQLite calls it from C: nothing may be thrown through its frames, so every failure becomes
// the function's error, which the statement then reports.
void likeFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv) noexcept
{
    try {
        like(ctx, argc, argv);
    } catch (const std::bad_alloc &) {
        sqlite3_result_error_nomem(ctx);
    } catch (const std::exception &e) {
        sqlite3_result_error(ctx, e.what(), -1);
    } catch (...) {
        sqlite3_result_error(ctx, "the LIKE comparison failed", -1);
    }
}

} // namespace

LikeMatcher::LikeMatcher(std::string_view utf8Pattern, char32_t escape)
{
    std::u32string pattern;
    decodeFolded(utf8Pattern, pattern);
    compile(pattern, TextFolding::fold(escape));
}

LikeMatcher::LikeMatcher(const QString &pattern, char32_t escape)
{
    std::u32string folded;
    decodeFolded(pattern, folded);
    compile(folded, TextFolding::fold(escape));
}

void LikeMatcher::compile(const std::u32string &pattern, char32_t escape)
{
    m_tokens.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        if (escape && c == escape && i + 1 < pattern.size()) {
            m_tokens.push_back(pattern[++i]);
        } else if (c == '%') {
            if (m_tokens.empty() || m_tokens.back() != AnyRun)
                m_tokens.push_back(AnyRun);
        } else if (c == '_') {
            m_tokens.push_back(AnyOne);
        } else if (c == ' ') {
            if (m_tokens.empty() || m_tokens.back() != Blanks)
                m_tokens.push_back(Blanks);
        } else {
            m_tokens.push_back(c);
        }
    }
    m_trailingRuns = m_tokens.size();
    while (m_trailingRuns > 0 && m_tokens[m_trailingRuns - 1] == AnyRun)
        --m_trailingRuns;
    // Without a final '%' the text must end where the pattern does.
    if (m_trailingRuns == m_tokens.size())
        m_trailingRuns = size_t(-1);
    m_matchesAll = m_trailingRuns == 0;
    chooseRequiredLetters();
}

namespace {

std::string utf8(char32_t c)
{
    std::string out;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
    return out;
}

// Whether text holds form, the UTF-8 bytes of one character. The Arabic letters share a few
// first bytes, so the search goes by the last byte, which tells them apart.
bool contains(std::string_view text, const std::string &form)
{
    if (form.size() < 2)
        return text.find(form) != std::string_view::npos;
    if (text.size() < form.size())
        return false;
    const size_t last = form.size() - 1;
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    for (const char *at = begin + last; at < end;) {
        at = static_cast<const char *>(std::memchr(at, form[last], size_t(end - at)));
        if (!at)
            return false;
        if (std::memcmp(at - last, form.data(), last) == 0)
            return true;
        ++at;
    }
    return false;
}

// A character of the plane that folds to another one (not ignored), by what it folds to.
struct FoldedForm {
    char16_t folded, character;
    bool operator<(const FoldedForm &o) const
    {
        return folded != o.folded ? folded < o.folded : character < o.character;
    }
};

// Every such character, made at the first use: each pattern asks for the forms of its letters,
// and going through the plane for them each time took longer than the search itself.
const std::vector<FoldedForm> &foldedForms()
{
    static const std::vector<FoldedForm> forms = [] {
        std::vector<FoldedForm> made;
        for (char32_t c = 1; c < 0x10000; ++c) {
            const char32_t folded = TextFolding::fold(c);
            if (folded != c && folded != TextFolding::Ignored)
                made.push_back(FoldedForm{char16_t(folded), char16_t(c)});
        }
        std::sort(made.begin(), made.end());
        made.shrink_to_fit();
        return made;
    }();
    return forms;
}

} // namespace

// How often a letter stands in the texts, the most frequent first; letters not listed count
// as rare.
constexpr char16_t kFrequentLetters[] = u"اليوهنمرتبدكسعقفحشجزخصطذضثظغچپگژ";

void LikeMatcher::chooseRequiredLetters()
{
    std::vector<char32_t> letters;
    for (const char32_t t : m_tokens) {
        // A blank of the folded text may stand for any blank or line break of the bytes.
        const bool unsure = (t >= 0xD800 && t <= 0xDFFF) || TextFolding::isBlank(t);
        if (t != AnyRun && t != AnyOne && t != Blanks && t != 0xFFFD && t < 0x10000 && !unsure &&
            std::find(letters.begin(), letters.end(), t) == letters.end())
            letters.push_back(t);
    }
    const std::u16string_view frequent(kFrequentLetters);
    const auto rank = [&](char32_t c) {
        const size_t at = frequent.find(char16_t(c));
        return at == std::u16string_view::npos ? frequent.size() : at;
    };
    std::stable_sort(letters.begin(), letters.end(),
                     [&](char32_t a, char32_t b) { return rank(a) > rank(b); });
    for (size_t i = 0; i < letters.size() && m_required.size() < 2; ++i) {
        // Every character of the plane that folds to the letter (beyond it, none folds into
        // it); a letter of many forms is no good sieve.
        std::vector<std::string> forms;
        if (TextFolding::fold(letters[i]) == letters[i])
            forms.push_back(utf8(letters[i]));
        const FoldedForm *from =
            std::lower_bound(foldedForms().data(), foldedForms().data() + foldedForms().size(),
                             FoldedForm{char16_t(letters[i]), 0});
        for (; from != foldedForms().data() + foldedForms().size() && from->folded == letters[i] &&
               forms.size() <= 4;
             ++from)
            forms.push_back(utf8(from->character));
        if (!forms.empty() && forms.size() <= 4)
            m_required.push_back(std::move(forms));
    }
}

bool LikeMatcher::matches(std::string_view utf8Text) const
{
    if (m_matchesAll)
        return true;
    for (const std::vector<std::string> &forms : m_required) {
        const auto found = [&](const std::string &form) { return contains(utf8Text, form); };
        if (std::none_of(forms.begin(), forms.end(), found))
            return false;
    }
    // One buffer a thread, grown to the longest text seen and never cleared.
    thread_local std::u32string buffer;
    if (buffer.size() < utf8Text.size())
        buffer.resize(utf8Text.size());
    size_t decoded = 0, length = 0;
    // With a final '%', a match in the text's beginning is a match of the whole text: a long
    // text is decoded and tried in growing pieces, so a frequent word is found without
    // decoding all of a long item. A piece ends before a character's first byte.
    for (size_t piece = 256; m_trailingRuns != size_t(-1) && utf8Text.size() - decoded > piece;
         piece *= 4) {
        size_t cut = decoded + piece;
        while (cut > decoded && (uchar(utf8Text[cut]) & 0xC0) == 0x80)
            --cut;
        if (cut == decoded)
            break;
        length = decodeFoldedInto(utf8Text.substr(decoded, cut - decoded), buffer.data(), length);
        decoded = cut;
        if (matchFolded(std::u32string_view(buffer.data(), length)))
            return true;
    }
    length = decodeFoldedInto(utf8Text.substr(decoded), buffer.data(), length);
    return matchFolded(std::u32string_view(buffer.data(), length));
}

bool LikeMatcher::matches(const QString &text) const
{
    if (m_matchesAll)
        return true;
    std::u32string folded;
    decodeFolded(text, folded);
    return matchFolded(folded);
}

std::vector<LikeMatcher::Match> LikeMatcher::find(const QString &text) const
{
    std::vector<Match> found;
    size_t first = 0;
    while (first < m_tokens.size() && m_tokens[first] == AnyRun)
        ++first;
    const bool anyEnd = m_trailingRuns != size_t(-1);
    const size_t last = anyEnd ? m_trailingRuns : m_tokens.size();
    std::u32string folded;
    std::vector<qsizetype> origin;
    decodeFolded(text, folded, &origin);
    if (first >= last || !matchFolded(folded))
        return found;
    // Where a folded character ends in the text.
    const auto endOf = [&](size_t i) {
        const qsizetype at = origin[i];
        return at + (text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1);
    };
    const char32_t lead = m_tokens[first];
    for (size_t at = 0; at < folded.size();) {
        // Straight to where the first token can match: its letter, or a run of blanks and
        // punctuation (from anywhere inside a run the match is the one from its start).
        if (lead == Blanks) {
            while (at < folded.size() && !TextFolding::isBoundary(folded[at]))
                ++at;
        } else if (lead != AnyOne) {
            at = folded.find(lead, at);
        }
        if (at >= folded.size())
            break;
        size_t from = 0, to = 0;
        if (matchAt(folded, at, first, last, anyEnd, from, to)) {
            found.push_back({origin[from], endOf(to - 1)});
            at = std::max(to, at + 1);
        } else if (lead == Blanks) {
            while (at < folded.size() && TextFolding::isBoundary(folded[at]))
                ++at;
        } else {
            ++at;
        }
        // Without a leading '%' a match starts at the text's start or nowhere.
        if (first == 0)
            break;
    }
    return found;
}

bool LikeMatcher::matchAt(std::u32string_view text, size_t at, size_t first, size_t last,
                          bool anyEnd, size_t &from, size_t &to) const
{
    // The matching of matchFolded(), from one place and to the end of the tokens.
    size_t t = at, p = first;
    size_t starP = size_t(-1), starT = 0;
    from = at;
    to = size_t(-1);
    for (;;) {
        if (p == last) {
            if (anyEnd || t == text.size()) {
                if (m_tokens[last - 1] != Blanks)
                    to = t;
                if (to <= from) {
                    // Nothing but blanks matched: the match is those blanks.
                    from = at;
                    to = t;
                }
                return true;
            }
        } else if (m_tokens[p] == AnyRun) {
            starP = p++;
            starT = t;
            continue;
        } else if (t < text.size()) {
            const char32_t token = m_tokens[p];
            if (token == Blanks && TextFolding::isBoundary(text[t])) {
                if (p + 1 == last)
                    to = t;
                while (++t < text.size() && TextFolding::isBoundary(text[t])) {
                }
                if (p == first)
                    from = t;
                ++p;
                continue;
            }
            if (token == AnyOne || token == text[t]) {
                ++p;
                ++t;
                continue;
            }
        }
        if (starP == size_t(-1) || starT >= text.size())
            return false;
        p = starP + 1;
        t = ++starT;
    }
}

// Wildcard matching with one backtracking point: the last AnyRun seen. Each AnyRun only ever
// needs to retry from the latest one, which keeps the match linear in practice.
bool LikeMatcher::matchFolded(std::u32string_view text) const
{
    size_t t = 0, p = 0;
    size_t starP = size_t(-1), starT = 0;
    const size_t n = m_tokens.size();
    while (t < text.size()) {
        if (p >= m_trailingRuns) {
            // Only '%' left: whatever is left of the text matches.
            return true;
        } else if (p < n && m_tokens[p] == AnyRun) {
            starP = p++;
            starT = t;
        } else if (p < n && m_tokens[p] == Blanks && TextFolding::isBoundary(text[t])) {
            // The whole run of blanks and punctuation: nothing after it can be a letter of it.
            ++p;
            while (++t < text.size() && TextFolding::isBoundary(text[t])) {
            }
        } else if (p < n && (m_tokens[p] == AnyOne || m_tokens[p] == text[t])) {
            ++p;
            ++t;
        } else if (starP != size_t(-1)) {
            p = starP + 1;
            t = ++starT;
            const char32_t next = p < n ? m_tokens[p] : char32_t(AnyRun);
            const char32_t after = p + 1 < n ? m_tokens[p + 1] : char32_t(AnyRun);
            if (next == Blanks && after != AnyRun && after != AnyOne && after != Blanks) {
                // A run of blanks and punctuation followed by a letter (a word typed between
                // blanks): straight to the first run, from here on, that the letter follows.
                size_t letter = starT;
                do {
                    letter = text.find(after, letter + 1);
                    if (letter == std::u32string_view::npos)
                        return false;
                } while (!TextFolding::isBoundary(text[letter - 1]));
                size_t run = letter - 1;
                while (run > starT && TextFolding::isBoundary(text[run - 1]))
                    --run;
                t = starT = run;
            } else if (next == Blanks) {
                // Straight to the next blank or punctuation mark: no letter can start the run.
                while (starT < text.size() && !TextFolding::isBoundary(text[starT]))
                    ++starT;
                t = starT;
                if (t == text.size())
                    return false;
            } else if (next != AnyRun && next != AnyOne) {
                // Straight to where the letter after the '%' stands, if anywhere.
                t = starT = text.find(next, starT);
                if (t == std::u32string_view::npos)
                    return false;
            }
        } else {
            return false;
        }
    }
    while (p < n && m_tokens[p] == AnyRun)
        ++p;
    return p == n;
}

void LikeMatcher::install(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    for (const int arguments : {2, 3}) {
        // Without it the statements would compare with SQLite's own LIKE, which folds ASCII
        // letters only: a search would quietly miss what it should find.
        if (sqlite3_create_function_v2(db, "like", arguments, flags, nullptr, likeFunction, nullptr,
                                       nullptr, nullptr) != SQLITE_OK)
            throw Error(QStringLiteral("the letter-folding LIKE could not be installed: %1")
                            .arg(QString::fromUtf8(sqlite3_errmsg(db))));
    }
}
