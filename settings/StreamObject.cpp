#include "settings/StreamObject.h"

StreamObject::StreamObject(const QString &objectName, const QString &objectKind)
    : name(objectName)
    , kind(objectKind)
{
}

void StreamObject::add(const QString &path, const StreamValue &value)
{
    properties.push_back(Property{path.split(QLatin1Char('.')), value, 0});
}
