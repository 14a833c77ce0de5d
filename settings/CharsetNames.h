#pragma once

#include <QString>

// The named character sets of the settings streams (values 0 to 255).
class CharsetNames {
public:
    static constexpr int ARABIC_CHARSET = 178;

    // The name of the first table entry with this value, or an empty text when none has it.
    static QString nameOf(int value);
    // Looks a name up without regard to case; false when the table does not hold it.
    static bool valueOf(const QString &name, int *value);
};
