#pragma once

#include "settings/StreamValue.h"

#include <QString>
#include <QStringList>

#include <vector>

// One object of a settings stream: its header, its property assignments in file order and the
// objects nested in it.
class StreamObject {
public:
    struct Property {
        QStringList path; // "Font.Height" is {"Font", "Height"}
        StreamValue value;
        int line = 0; // where the reader found the path; 0 for written objects
    };

    StreamObject() = default;
    StreamObject(const QString &objectName, const QString &objectKind);

    void add(const QString &path, const StreamValue &value);

    QString name; // empty when the header gave the kind alone
    QString kind;
    std::vector<Property> properties;
    std::vector<StreamObject> children;
};
