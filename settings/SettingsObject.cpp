#include "settings/SettingsObject.h"

#include "platform/Error.h"
#include "settings/CharsetNames.h"
#include "settings/ColorNames.h"
#include "settings/SettingsFile.h"
#include "settings/StreamParser.h"
#include "settings/StreamWriter.h"

#include <limits>

namespace {

[[noreturn]] void invalidValue()
{
    throw Error(QStringLiteral("Invalid property value"));
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

int indexOfName(const QStringList &names, const QString &name)
{
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (sameName(names.at(i), name))
            return int(i);
    }
    return -1;
}

} // namespace

SettingsObject::SettingsObject(const QString &name, int left, int top)
    : m_name(name)
    , m_left(left)
    , m_top(top)
{
}

SettingsObject::~SettingsObject() = default;

std::vector<SettingsObject::PropertyNode> SettingsObject::commonProperties()
{
    return {
        {QStringLiteral("Tag"), TagProperty, {}},
        {QStringLiteral("Ctl3D"), Ctl3DProperty, {}},
        {QStringLiteral("HelpContext"), HelpContextProperty, {}},
        {QStringLiteral("Left"), LeftProperty, {}},
        {QStringLiteral("Top"), TopProperty, {}},
    };
}

StreamObject SettingsObject::toStream() const
{
    StreamObject object(m_name, kindName());
    if (m_tag != 0)
        object.add(QStringLiteral("Tag"), StreamValue::integer(m_tag));
    if (!m_ctl3D)
        object.add(QStringLiteral("Ctl3D"), StreamValue::identifier(QStringLiteral("False")));
    if (m_helpContext != 0)
        object.add(QStringLiteral("HelpContext"), StreamValue::integer(m_helpContext));
    writeOwnProperties(object);
    if (m_left != 0)
        object.add(QStringLiteral("Left"), StreamValue::integer(m_left));
    if (m_top != 0)
        object.add(QStringLiteral("Top"), StreamValue::integer(m_top));
    return object;
}

QByteArray SettingsObject::toBytes() const
{
    return StreamWriter::write(toStream());
}

void SettingsObject::read(const QByteArray &bytes)
{
    const StreamParser::Result result = StreamParser::parse(bytes);
    if (result.headerRead) {
        // A header without a name leaves the object's name, which must stay writable.
        if (!result.object.name.isEmpty())
            m_name = result.object.name;
        beforeApply();
        for (const StreamObject::Property &property : result.object.properties)
            apply(property);
    }
    if (!result.ok())
        throw Error(result.error);
}

void SettingsObject::save(const QString &path) const
{
    SettingsFile::write(path, toBytes());
}

void SettingsObject::load(const QString &path)
{
    read(SettingsFile::read(path));
}

void SettingsObject::apply(const StreamObject::Property &property)
{
    try {
        const std::vector<PropertyNode> *level = &properties();
        const PropertyNode *node = nullptr;
        for (qsizetype i = 0; i < property.path.size(); ++i) {
            const QString &part = property.path.at(i);
            node = nullptr;
            for (const PropertyNode &candidate : *level) {
                if (sameName(candidate.name, part)) {
                    node = &candidate;
                    break;
                }
            }
            if (!node)
                throw Error(QStringLiteral("Property %1 does not exist").arg(part));
            if (i + 1 < property.path.size()) {
                if (node->nested.empty())
                    throw Error(QStringLiteral("Invalid property path"));
                level = &node->nested;
            }
        }
        if (!node || !node->nested.empty())
            invalidValue();
        setProperty(node->id, property.value);
    } catch (const Error &error) {
        throw Error(QStringLiteral("Error reading %1%2%3: %4")
                        .arg(m_name, QStringLiteral("."), property.path.join(QLatin1Char('.')),
                             error.message()));
    }
}

void SettingsObject::setProperty(int id, const StreamValue &value)
{
    switch (id) {
    case TagProperty:
        m_tag = toInteger(value);
        break;
    case Ctl3DProperty:
        m_ctl3D = toBoolean(value);
        break;
    case HelpContextProperty:
        m_helpContext = toInteger(value);
        break;
    case LeftProperty:
        m_left = toInteger(value);
        break;
    case TopProperty:
        m_top = toInteger(value);
        break;
    default:
        invalidValue();
    }
}

qint32 SettingsObject::toInteger(const StreamValue &value)
{
    if (value.kind != StreamValue::Kind::Integer ||
        value.number < std::numeric_limits<qint32>::min() ||
        value.number > std::numeric_limits<qint32>::max())
        invalidValue();
    return qint32(value.number);
}

qint32 SettingsObject::toColor(const StreamValue &value)
{
    if (value.kind == StreamValue::Kind::Identifier) {
        qint32 color;
        if (!ColorNames::valueOf(value.text, &color))
            invalidValue();
        return color;
    }
    return toInteger(value);
}

int SettingsObject::toCharset(const StreamValue &value)
{
    if (value.kind == StreamValue::Kind::Identifier) {
        int charset;
        if (!CharsetNames::valueOf(value.text, &charset))
            invalidValue();
        return charset;
    }
    const qint32 charset = toInteger(value);
    if (charset < 0 || charset > 255)
        invalidValue();
    return charset;
}

bool SettingsObject::toBoolean(const StreamValue &value)
{
    return toEnumeration(value, {QStringLiteral("False"), QStringLiteral("True")}) == 1;
}

int SettingsObject::toEnumeration(const StreamValue &value, const QStringList &names)
{
    if (value.kind != StreamValue::Kind::Identifier)
        invalidValue();
    const int index = indexOfName(names, value.text);
    if (index < 0)
        invalidValue();
    return index;
}

quint32 SettingsObject::toSet(const StreamValue &value, const QStringList &names)
{
    if (value.kind != StreamValue::Kind::Set)
        invalidValue();
    quint32 members = 0;
    for (const QString &name : value.names) {
        const int index = indexOfName(names, name);
        if (index < 0)
            invalidValue();
        members |= 1u << index;
    }
    return members;
}

QString SettingsObject::toText(const StreamValue &value)
{
    if (value.kind != StreamValue::Kind::String)
        invalidValue();
    return value.text;
}

QStringList SettingsObject::toTextList(const StreamValue &value)
{
    if (value.kind != StreamValue::Kind::List)
        invalidValue();
    QStringList lines;
    for (const StreamValue &item : value.items)
        lines << toText(item);
    return lines;
}

StreamValue SettingsObject::colorValue(qint32 color)
{
    const QString name = ColorNames::nameOf(color);
    return name.isEmpty() ? StreamValue::integer(color) : StreamValue::identifier(name);
}

StreamValue SettingsObject::charsetValue(int charset)
{
    const QString name = CharsetNames::nameOf(charset);
    return name.isEmpty() ? StreamValue::integer(charset) : StreamValue::identifier(name);
}

StreamValue SettingsObject::setValue(quint32 members, const QStringList &names)
{
    QStringList written;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (members & (1u << i))
            written << names.at(i);
    }
    return StreamValue::set(written);
}
