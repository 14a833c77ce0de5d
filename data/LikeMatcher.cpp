#include "data/LikeMatcher.h"

#include "data/TextFolding.h"

#include <QChar>
#include <QList>
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
}

bool LikeMatcher::matches(std::string_view utf8Text) const
{
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
