#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// One property value of a settings stream, as the reader found it or the writer is to write it.
class StreamValue {
public:
    enum class Kind {
        Identifier, // a name: boolean, enumeration value, colour or charset name
        Integer,
        Float, // kept as written; no settings property takes one
        String,
        Set,        // member names in `names`
        List,       // values in `items`
        Collection, // "<" ... ">"; only its presence is kept
        Binary,     // "{" ... "}"; the hexadecimal digits in `text`
    };

    static StreamValue identifier(const QString &name);
    static StreamValue integer(qint64 value);
    static StreamValue floating(const QString &text);
    static StreamValue string(const QString &text);
    static StreamValue set(const QStringList &names);
    static StreamValue list(std::vector<StreamValue> items);
    static StreamValue collection();
    static StreamValue binary(const QString &hexDigits);

    Kind kind = Kind::Integer;
    qint64 number = 0;
    QString text;
    QStringList names;
    std::vector<StreamValue> items;
};
