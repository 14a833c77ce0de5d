#pragma once

#include <QString>
#include <optional>

// Reads a whole text as an integer: an optional sign, then decimal digits, or hexadecimal
// digits after "$" or "0x"; nothing may follow. Decimal digits are ASCII, Persian (۰-۹) or
// Arabic-Indic (٠-٩): the Persian keyboard's number row types them. Two forms share the
// reading: a 32-bit value with leading blanks and hexadecimal allowed, and a 64-bit decimal
// value with blanks allowed on both sides, the form a typed number takes into a statement.
class IntegerText {
public:
    // The value of a decimal digit of any of the three sets, -1 for any other character.
    static int digitValue(QChar c);
    static std::optional<int> parse(const QString &text);
    // As parse, raising "'%s' is not a valid integer value" when the text does not convert.
    static int toInt(const QString &text);
    // The 64-bit decimal form: blanks of any kind either side, an optional sign and decimal
    // digits. Raises as toInt when the text does not convert.
    static qint64 toInt64(const QString &text);

private:
    struct Form {
        bool hexadecimal;
        bool trailingBlanks;
        bool wide;
    };
    static std::optional<qint64> read(const QString &text, Form form);
    [[noreturn]] static void raiseInvalid(const QString &text);
};
