#include "settings/StreamValue.h"

#include <utility>

namespace {

StreamValue make(StreamValue::Kind kind)
{
    StreamValue value;
    value.kind = kind;
    return value;
}

} // namespace

StreamValue StreamValue::identifier(const QString &name)
{
    StreamValue value = make(Kind::Identifier);
    value.text = name;
    return value;
}

StreamValue StreamValue::integer(qint64 number)
{
    StreamValue value = make(Kind::Integer);
    value.number = number;
    return value;
}

StreamValue StreamValue::floating(const QString &text)
{
    StreamValue value = make(Kind::Float);
    value.text = text;
    return value;
}

StreamValue StreamValue::string(const QString &text)
{
    StreamValue value = make(Kind::String);
    value.text = text;
    return value;
}

StreamValue StreamValue::set(const QStringList &names)
{
    StreamValue value = make(Kind::Set);
    value.names = names;
    return value;
}

StreamValue StreamValue::list(std::vector<StreamValue> items)
{
    StreamValue value = make(Kind::List);
    value.items = std::move(items);
    return value;
}

StreamValue StreamValue::collection()
{
    return make(Kind::Collection);
}

StreamValue StreamValue::binary(const QString &hexDigits)
{
    StreamValue value = make(Kind::Binary);
    value.text = hexDigits;
    return value;
}
