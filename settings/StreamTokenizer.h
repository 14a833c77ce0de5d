#pragma once

#include <QString>

// Splits the text of a settings stream into tokens. Characters of code 32 and below separate
// tokens; a carriage return, a line feed or the pair of them end a line. Errors are raised as
// Error with the text "<reason> on line <n>".
class StreamTokenizer {
public:
    enum class Kind { End, Identifier, Integer, Float, String, Char };

    struct Token {
        Kind kind = Kind::End;
        QString text; // identifier, string (quotes and #codes resolved) or float as written
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

    void next();
    // With "{" as the current token: reads hexadecimal digits, blanks between them allowed,
    // up to and including "}"; the token after it must then be fetched with next().
    QString readBinary();

    [[noreturn]] void fail(const QString &reason) const;

private:
    [[noreturn]] void failHere(const QString &reason) const;
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
