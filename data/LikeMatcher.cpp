#include "data/LikeMatcher.h"

#include "data/TextFolding.h"

#include <QChar>
#include <QList>
#include <algorithm>
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

// Decodes UTF-8 into folded code points; a malformed sequence reads as U+FFFD.
void decodeFolded(std::string_view in, std::u32string &out)
{
    out.clear();
    out.reserve(in.size());
    const auto *p = reinterpret_cast<const unsigned char *>(in.data());
    const auto *end = p + in.size();
    while (p < end) {
        const unsigned char b = *p;
        char32_t c;
        int extra;
        if (b < 0x80) {
            append(out, TextFolding::fold(b));
            ++p;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07;
            extra = 3;
        } else {
            out.push_back(0xFFFD);
            ++p;
            continue;
        }
        ++p;
        bool ok = end - p >= extra;
        for (int i = 0; ok && i < extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                ok = false;
            else
                c = (c << 6) | (p[i] & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            continue;
        }
        p += extra;
        append(out, TextFolding::fold(c));
    }
}

void decodeFolded(const QString &in, std::u32string &out)
{
    out.clear();
    out.reserve(size_t(in.size()));
    for (char32_t c : in.toUcs4())
        append(out, TextFolding::fold(c));
}

std::string_view textOf(sqlite3_value *v)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return text ? std::string_view(text, size_t(sqlite3_value_bytes(v))) : std::string_view();
}

void destroyMatcher(void *p)
{
    delete static_cast<LikeMatcher *>(p);
}

void likeFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
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
        for (char32_t c = 1; c < 0x10000 && forms.size() <= 4; ++c) {
            if (TextFolding::fold(c) == letters[i])
                forms.push_back(utf8(c));
        }
        if (!forms.empty() && forms.size() <= 4)
            m_required.push_back(std::move(forms));
    }
}

bool LikeMatcher::matches(std::string_view utf8Text) const
{
    for (const std::vector<std::string> &forms : m_required) {
        const auto found = [&](const std::string &form) {
            return utf8Text.find(form) != std::string_view::npos;
        };
        if (std::none_of(forms.begin(), forms.end(), found))
            return false;
    }
    thread_local std::u32string text;
    decodeFolded(utf8Text, text);
    return matchFolded(text);
}

bool LikeMatcher::matches(const QString &text) const
{
    std::u32string folded;
    decodeFolded(text, folded);
    return matchFolded(folded);
}

// Wildcard matching with one backtracking point: the last AnyRun seen. Each AnyRun only ever
// needs to retry from the latest one, which keeps the match linear in practice.
bool LikeMatcher::matchFolded(const std::u32string &text) const
{
    size_t t = 0, p = 0;
    size_t starP = size_t(-1), starT = 0;
    const size_t n = m_tokens.size();
    while (t < text.size()) {
        if (p < n && m_tokens[p] == AnyRun) {
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
    sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr,
                               nullptr);
}
