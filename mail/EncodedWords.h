#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

// Header text outside ASCII as encoded words. The bytes are the text's UTF-8 form and the
// words are labelled "UTF-8"; a character is never split between two words.
class EncodedWords {
public:
    enum Scheme { Q, B };

    // The longest encoded word, prefix and "?=" included.
    static constexpr int MaxWordLength = 75;

    // The characters that a display name may not hold unencoded.
    static const QByteArray &addressSpecials();

    // B for Chinese, Japanese and Korean, Q for every other language.
    static Scheme schemeFor(QLocale::Language language);

    // Words holding a control or non-ASCII byte, or one of the specials, are written as
    // encoded words; runs of such words form one stretch with their separators. A stretch too
    // long for one word continues as further words on lines of their own (CR LF TAB before
    // each).
    static QByteArray encode(const QString &value, Scheme scheme,
                             const QByteArray &specials = QByteArray());

private:
    static QByteArray encodeStretch(const QByteArray &bytes, Scheme scheme,
                                    const QByteArray &specials);
};
