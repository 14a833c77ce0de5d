#pragma once

#include <QString>

// The one way a typed value enters a statement, so that no typed text becomes SQL syntax.
class SqlValue {
public:
    // The value as an SQL string literal: in apostrophes, each apostrophe inside doubled. A NUL
    // character, which no literal can hold, is joined on as "' || char(0) || '"; the
    // expression stays one operand, as "||" binds tighter than any comparison.
    static QString quoted(const QString &value);
    // The value for a place inside a literal whose apostrophes the statement itself writes
    // (as in "like '%" value "%'"): each apostrophe doubled, a NUL joined on as in quoted().
    static QString insideQuotes(const QString &value);
    // A value the statement needs as a number: blanks around it, an optional sign and decimal
    // digits (ASCII, Persian or Arabic-Indic). Answers the number in decimal, or raises "'%s' is
    // not a valid integer value".
    static QString integer(const QString &value);
};
