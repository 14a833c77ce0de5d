#pragma once

#include <QString>

// The named colours of the settings streams. A colour is a 32-bit value: an RGB colour
// r + 256 * g + 65536 * b, or a system colour n stored as n - 16777216 (highest byte all ones).
class ColorNames {
public:
    // The name of the first table entry with this value, or an empty text when none has it.
    static QString nameOf(qint32 value);
    // Looks a name up without regard to case; false when the table does not hold it.
    static bool valueOf(const QString &name, qint32 *value);
};
