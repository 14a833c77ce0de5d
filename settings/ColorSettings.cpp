#include "settings/ColorSettings.h"

#include "settings/ColorValue.h"

namespace {

enum Id {
    ColorProperty = 100,
    CustomColorsProperty,
    StringsProperty,
    OptionsProperty,
};

const QStringList &optionNames()
{
    static const QStringList names = {
        QStringLiteral("cdFullOpen"), QStringLiteral("cdPreventFullOpen"),
        QStringLiteral("cdShowHelp"), QStringLiteral("cdSolidColor"),
        QStringLiteral("cdAnyColor"),
    };
    return names;
}

QString entryName(int index)
{
    return QStringLiteral("Color") + QLatin1Char(char('A' + index));
}

} // namespace

ColorSettings::ColorSettings(const QString &name, int left, int top)
    : SettingsObject(name, left, top)
{
}

QColor ColorSettings::toQColor() const
{
    return ColorValue::toQColor(m_color);
}

void ColorSettings::setFromQColor(const QColor &color)
{
    m_color = ColorValue::fromQColor(color);
}

qsizetype ColorSettings::entryIndex(int index) const
{
    const QString name = entryName(index);
    for (qsizetype i = 0; i < m_customColors.size(); ++i) {
        const QString &line = m_customColors.at(i);
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0 && line.left(equals).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

quint32 ColorSettings::customColor(int index) const
{
    if (index < 0 || index >= customColorCount)
        return noColor;
    const qsizetype entry = entryIndex(index);
    if (entry < 0)
        return noColor;
    const QString &line = m_customColors.at(entry);
    const QString digits = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    bool ok = false;
    const quint32 value = digits.toUInt(&ok, 16);
    return ok ? value : noColor;
}

void ColorSettings::setCustomColor(int index, quint32 value)
{
    if (index < 0 || index >= customColorCount)
        return;
    const QString line = entryName(index) + QLatin1Char('=') +
                         QStringLiteral("%1").arg(value, 6, 16, QLatin1Char('0')).toUpper();
    const qsizetype entry = entryIndex(index);
    if (entry >= 0)
        m_customColors[entry] = line;
    else
        m_customColors.append(line);
}

QColor ColorSettings::customQColor(int index) const
{
    const quint32 value = customColor(index);
    if (value == noColor)
        return QColor();
    return ColorValue::toQColor(qint32(value));
}

void ColorSettings::setCustomQColor(int index, const QColor &color)
{
    setCustomColor(index, color.isValid() ? quint32(ColorValue::fromQColor(color)) : noColor);
}

const std::vector<SettingsObject::PropertyNode> &ColorSettings::properties() const
{
    static const std::vector<PropertyNode> tree = [] {
        std::vector<PropertyNode> nodes = commonProperties();
        nodes.push_back({QStringLiteral("Color"), ColorProperty, {}});
        nodes.push_back({QStringLiteral("CustomColors"),
                         CustomColorsProperty,
                         {{QStringLiteral("Strings"), StringsProperty, {}}}});
        nodes.push_back({QStringLiteral("Options"), OptionsProperty, {}});
        return nodes;
    }();
    return tree;
}

void ColorSettings::setProperty(int id, const StreamValue &value)
{
    switch (id) {
    case ColorProperty:
        m_color = toColor(value);
        break;
    case StringsProperty:
        m_customColors = toTextList(value);
        break;
    case OptionsProperty:
        m_options = toSet(value, optionNames());
        break;
    default:
        SettingsObject::setProperty(id, value);
    }
}

void ColorSettings::writeOwnProperties(StreamObject &object) const
{
    if (m_color != 0)
        object.add(QStringLiteral("Color"), colorValue(m_color));
    if (!m_customColors.isEmpty()) {
        std::vector<StreamValue> lines;
        for (const QString &line : m_customColors)
            lines.push_back(StreamValue::string(line));
        object.add(QStringLiteral("CustomColors.Strings"), StreamValue::list(std::move(lines)));
    }
    if (m_options != 0)
        object.add(QStringLiteral("Options"), setValue(m_options, optionNames()));
}
