#include "data/TextFolding.h"

#include <QChar>

const TextFolding::Tables *TextFolding::buildTables()
{
    static Tables tables;
    for (char32_t c = 0; c < 0x10000; ++c) {
        tables.fold[c] = char16_t(foldCharacter(c)); // folding stays inside the plane
        tables.boundary[c] = isBoundaryCharacter(c);
    }
    return &tables;
}

char32_t TextFolding::foldCharacter(char32_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 32 : c;
    if (c >= 0x0600 && c < 0x0700) {
        switch (c) {
        case 0x0623: // alef with hamza above
        case 0x0625: // alef with hamza below
        case 0x0622: // alef with madda
        case 0x0671: // alef wasla
            return 0x0627;
        case 0x0624: // waw with hamza
            return 0x0648;
        case 0x0626: // yeh with hamza
        case 0x0649: // alef maksura
        case 0x06CC: // Persian yeh
            return 0x064A;
        case 0x06A9: // Persian kaf
            return 0x0643;
        case 0x0629: // teh marbuta
        case 0x06C0: // heh with yeh above
            return 0x0647;
        case 0x0621: // hamza
        case 0x0640: // tatweel
        case 0x0670: // superscript alef
            return Ignored;
        default:
            if (c >= 0x064B && c <= 0x065F) // harakat, hamza above and below
                return Ignored;
            if (c >= 0x06D6 && c <= 0x06ED) // Quranic annotation marks
                return Ignored;
            if (c >= 0x0660 && c <= 0x0669) // Arabic-Indic digits
                return U'0' + (c - 0x0660);
            if (c >= 0x06F0 && c <= 0x06F9) // Persian digits
                return U'0' + (c - 0x06F0);
            return c;
        }
    }
    if (c >= 0x200C && c <= 0x200F) // ZWNJ, ZWJ, LRM, RLM
        return Ignored;
    // Hebrew, the scripts after Arabic, and general punctuation have no case.
    if ((c >= 0x0590 && c < 0x0900) || (c >= 0x2000 && c < 0x2070))
        return c;
    return QChar::toCaseFolded(c);
}

QString TextFolding::fold(const QString &text)
{
    std::vector<qsizetype> unused;
    return fold(text, unused);
}

QString TextFolding::fold(const QString &text, std::vector<qsizetype> &origin)
{
    QString out;
    out.reserve(text.size());
    origin.clear();
    origin.reserve(size_t(text.size()));
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const qsizetype at = i;
        char32_t c = text[i++].unicode();
        if (QChar::isHighSurrogate(c) && i < n && text[i].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[i++].unicode());
        char32_t f = fold(c);
        if (f == Ignored)
            continue;
        if (isBlank(f)) {
            // A run of blanks is one blank, also where folding dropped what stood between.
            if (!out.isEmpty() && out.back() == QLatin1Char(' '))
                continue;
            f = U' ';
        }
        if (QChar::requiresSurrogates(f)) {
            out.append(QChar(QChar::highSurrogate(f)));
            out.append(QChar(QChar::lowSurrogate(f)));
            origin.push_back(at);
            origin.push_back(at);
        } else {
            out.append(QChar(char16_t(f)));
            origin.push_back(at);
        }
    }
    return out;
}

bool TextFolding::isBoundaryCharacter(char32_t c)
{
    return isBlank(c) || QChar::isPunct(c);
}

bool TextFolding::isMark(char32_t c)
{
    return (c >= 0x064B && c <= 0x065F) || c == 0x0670 || (c >= 0x06D6 && c <= 0x06ED);
}

bool TextFolding::isOtherBlank(char32_t c)
{
    return QChar::isSpace(c);
}
