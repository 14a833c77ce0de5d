#pragma once

#include <QString>

// Splits the text of a settings stream into tokens. Characters of code 32 and below separate
// tokens; a carriage return, a line feed or the pair of them end a line. Errors are raised as
// Error with the text "<reason> on line <n>". A fault met while fetching the next token (a
// broken string, a line too long) is held as a Fault token and raised when the parser looks at
// it, so that the value before it, complete, is still taken.
class StreamTokenizer {
public:
    enum class Kind { End, Identifier, Integer, Float, String, Char, Fault };

    struct Token {
        Kind kind = Kind::End;
        QString text; // identifier, string (quotes and #codes resolved), float as written, or
                      // the error of a Fault
        qint64 number = 0;
        QChar ch; // for Kind::Char
        int line = 1;
    };

    // Longest line the reader accepts, line end not counted.
    static constexpr int maxLineLength = 4096;

    explicit StreamTokenizer(const QString &text);

    const Token &token() const { return m_token; }
    bool isChar(char c) const;
    // An identifier equal to the keyword without regard to case.
    bool isKeyword(const char *keyword) const;

    // Fetches the next token; after a Fault it stays.
    void next();
    // With "{" as the current token: reads hexadecimal digits, blanks between them allowed,
    // up to and including "}"; the token after it must then be fetched with next().
    QString readBinary();

    // Raises the reason at the current token's line; at a Fault, the fault's own error.
    [[noreturn]] void fail(const QString &reason) const;

private:
    [[noreturn]] void failHere(const QString &reason) const;
    void fetch();
    void skipBlanks();
    void startLine();
    void readIdentifier();
    void readNumber();
    void readHexNumber();
    void readString();

    QString m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    bool m_lineStarted = false;
    Token m_token;
};
