#pragma once

#include "settings/StreamObject.h"

#include <QByteArray>
#include <QString>

// Reads the text form of a settings stream. A pure function of the bytes: it never throws,
// and whatever was read before a syntax error is kept in the result, so that the properties
// before the point of the error can still be applied.
class StreamParser {
public:
    struct Result {
        StreamObject object;     // the header and the complete property assignments read
        bool headerRead = false; // the header was complete: object.name and object.kind hold it
        QString error;           // "<reason> on line <n>"; empty when the object was read to
                                 // its end
        bool ok() const { return error.isEmpty(); }
    };

    // Objects, lists and collections nested deeper than this are refused.
    static constexpr int maxDepth = 32;

    static Result parse(const QByteArray &bytes);
};
