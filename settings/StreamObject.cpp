#include "settings/StreamObject.h"

StreamObject::StreamObject(const QString &name, const QString &kind)
    : name(name)
    , kind(kind)
{
}

void StreamObject::add(const QString &path, const StreamValue &value)
{
    properties.push_back(Property{path.split(QLatin1Char('.')), value, 0});
}
