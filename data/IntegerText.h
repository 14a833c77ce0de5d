#pragma once

#include <QString>
#include <optional>

// Reads a whole text as a 32-bit integer: optional leading blanks, an optional sign, then
// decimal digits, or hexadecimal digits after "$" or "0x"; nothing may follow. Decimal digits
// are ASCII, Persian (۰-۹) or Arabic-Indic (٠-٩): the Persian keyboard's number row types them.
class IntegerText {
public:
    // The value of a decimal digit of any of the three sets, -1 for any other character.
    static int digitValue(QChar c);
    static std::optional<int> parse(const QString &text);
    // As parse, raising "'%s' is not a valid integer value" when the text does not convert.
    static int toInt(const QString &text);
};
