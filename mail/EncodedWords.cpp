#include "mail/EncodedWords.h"

#include <QList>

namespace {

bool isSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isUnsafeByte(uchar c, const QByteArray &specials)
{
    return c < 32 || c >= 127 || specials.contains(char(c));
}

bool needsEncoding(const QByteArray &word, const QByteArray &specials)
{
    for (const char c : word) {
        if (isUnsafeByte(uchar(c), specials))
            return true;
    }
    return false;
}

// The byte length of the UTF-8 sequence that starts at position i.
int sequenceLength(const QByteArray &bytes, int i)
{
    const uchar lead = uchar(bytes[i]);
    int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    int end = i + 1;
    while (end < bytes.size() && end < i + length && (uchar(bytes[end]) & 0xC0) == 0x80)
        ++end;
    return end - i;
}

int base64Length(int bytes)
{
    return (bytes + 2) / 3 * 4;
}

} // namespace

const QByteArray &EncodedWords::addressSpecials()
{
    static const QByteArray specials("()<>@,;:\\\".[]");
    return specials;
}

EncodedWords::Scheme EncodedWords::schemeFor(QLocale::Language language)
{
    switch (language) {
    case QLocale::Chinese:
    case QLocale::Japanese:
    case QLocale::Korean:
        return B;
    default:
        return Q;
    }
}

QByteArray EncodedWords::encode(const QString &value, Scheme scheme, const QByteArray &specials)
{
    const QByteArray bytes = value.toUtf8();
    QByteArray out;
    QByteArray stretch;
    bool inStretch = false;
    int i = 0;
    while (i < bytes.size()) {
        const int separatorStart = i;
        while (i < bytes.size() && isSeparator(bytes[i]))
            ++i;
        const QByteArray separator = bytes.mid(separatorStart, i - separatorStart);
        const int wordStart = i;
        while (i < bytes.size() && !isSeparator(bytes[i]))
            ++i;
        const QByteArray word = bytes.mid(wordStart, i - wordStart);

        if (!word.isEmpty() && needsEncoding(word, specials)) {
            if (inStretch) {
                stretch += separator + word;
            } else {
                out += separator;
                stretch = word;
                inStretch = true;
            }
            continue;
        }
        if (inStretch) {
            out += encodeStretch(stretch, scheme, specials);
            inStretch = false;
        }
        out += separator + word;
    }
    if (inStretch)
        out += encodeStretch(stretch, scheme, specials);
    return out;
}

QByteArray EncodedWords::encodeStretch(const QByteArray &bytes, Scheme scheme,
                                       const QByteArray &specials)
{
    const QByteArray prefix =
        scheme == B ? QByteArrayLiteral("=?UTF-8?B?") : QByteArrayLiteral("=?UTF-8?Q?");
    const QByteArray suffix = QByteArrayLiteral("?=");
    QList<QByteArray> words;

    if (scheme == B) {
        QByteArray chunk;
        for (int i = 0; i < bytes.size();) {
            const int length = sequenceLength(bytes, i);
            const int encoded = base64Length(int(chunk.size()) + length);
            if (!chunk.isEmpty() && prefix.size() + encoded + suffix.size() > MaxWordLength) {
                words.append(prefix + chunk.toBase64() + suffix);
                chunk.clear();
            }
            chunk += bytes.mid(i, length);
            i += length;
        }
        words.append(prefix + chunk.toBase64() + suffix);
        return words.join("\r\n\t");
    }

    QByteArray word = prefix;
    for (int i = 0; i < bytes.size();) {
        const int length = sequenceLength(bytes, i);
        QByteArray piece;
        for (int k = i; k < i + length; ++k) {
            const uchar c = uchar(bytes[k]);
            if (c == ' ')
                piece += '_';
            else if (isUnsafeByte(c, specials) || c == '=' || c == '?' || c == '_')
                piece += '=' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
            else
                piece += char(c);
        }
        i += length;
        if (word.size() > prefix.size() &&
            word.size() + piece.size() + suffix.size() > MaxWordLength) {
            words.append(word + suffix);
            word = prefix;
        }
        word += piece;
    }
    words.append(word + suffix);
    return words.join("\r\n\t");
}
