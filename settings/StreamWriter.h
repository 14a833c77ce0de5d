#pragma once

#include <QByteArray>

class StreamObject;

// Produces the text form of a settings stream: lines ending in CR LF, two blanks per level of
// nesting, texts as quoted runs and #codes, at most 64 characters of a text per line.
class StreamWriter {
public:
    static QByteArray write(const StreamObject &object);
};
