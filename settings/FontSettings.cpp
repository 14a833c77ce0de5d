#include "settings/FontSettings.h"

namespace {

enum Id {
    FontProperty = 100,
    DeviceProperty,
    MinFontSizeProperty,
    MaxFontSizeProperty,
    OptionsProperty,
    CharsetProperty,
    ColorProperty,
    HeightProperty,
    NameProperty,
    PitchProperty,
    StyleProperty,
};

const QStringList &deviceNames()
{
    static const QStringList names = {QStringLiteral("fdScreen"), QStringLiteral("fdPrinter"),
                                      QStringLiteral("fdBoth")};
    return names;
}

const QStringList &optionNames()
{
    static const QStringList names = {
        QStringLiteral("fdAnsiOnly"),       QStringLiteral("fdTrueTypeOnly"),
        QStringLiteral("fdEffects"),        QStringLiteral("fdFixedPitchOnly"),
        QStringLiteral("fdForceFontExist"), QStringLiteral("fdNoFaceSel"),
        QStringLiteral("fdNoOEMFonts"),     QStringLiteral("fdNoSimulations"),
        QStringLiteral("fdNoSizeSel"),      QStringLiteral("fdNoStyleSel"),
        QStringLiteral("fdNoVectorFonts"),  QStringLiteral("fdShowHelp"),
        QStringLiteral("fdWysiwyg"),        QStringLiteral("fdLimitSize"),
        QStringLiteral("fdScalableOnly"),   QStringLiteral("fdApplyButton"),
    };
    return names;
}

const QStringList &pitchNames()
{
    static const QStringList names = {QStringLiteral("fpDefault"), QStringLiteral("fpVariable"),
                                      QStringLiteral("fpFixed")};
    return names;
}

const QStringList &styleNames()
{
    static const QStringList names = {QStringLiteral("fsBold"), QStringLiteral("fsItalic"),
                                      QStringLiteral("fsUnderline"), QStringLiteral("fsStrikeOut")};
    return names;
}

} // namespace

FontSettings::FontSettings(const QString &name, int left, int top)
    : SettingsObject(name, left, top)
{
}

const std::vector<SettingsObject::PropertyNode> &FontSettings::properties() const
{
    static const std::vector<PropertyNode> tree = [] {
        std::vector<PropertyNode> nodes = commonProperties();
        nodes.push_back({QStringLiteral("Font"),
                         FontProperty,
                         {
                             {QStringLiteral("Charset"), CharsetProperty, {}},
                             {QStringLiteral("Color"), ColorProperty, {}},
                             {QStringLiteral("Height"), HeightProperty, {}},
                             {QStringLiteral("Name"), NameProperty, {}},
                             {QStringLiteral("Pitch"), PitchProperty, {}},
                             {QStringLiteral("Style"), StyleProperty, {}},
                         }});
        nodes.push_back({QStringLiteral("Device"), DeviceProperty, {}});
        nodes.push_back({QStringLiteral("MinFontSize"), MinFontSizeProperty, {}});
        nodes.push_back({QStringLiteral("MaxFontSize"), MaxFontSizeProperty, {}});
        nodes.push_back({QStringLiteral("Options"), OptionsProperty, {}});
        return nodes;
    }();
    return tree;
}

void FontSettings::setProperty(int id, const StreamValue &value)
{
    switch (id) {
    case DeviceProperty:
        m_device = Device(toEnumeration(value, deviceNames()));
        break;
    case MinFontSizeProperty:
        m_minFontSize = toInteger(value);
        break;
    case MaxFontSizeProperty:
        m_maxFontSize = toInteger(value);
        break;
    case OptionsProperty:
        m_options = toSet(value, optionNames());
        break;
    case CharsetProperty:
        m_font.setCharset(toCharset(value));
        break;
    case ColorProperty:
        m_font.setColor(toColor(value));
        break;
    case HeightProperty:
        m_font.setHeight(toInteger(value));
        break;
    case NameProperty:
        m_font.setName(toText(value));
        break;
    case PitchProperty:
        m_font.setPitch(SettingsFont::Pitch(toEnumeration(value, pitchNames())));
        break;
    case StyleProperty:
        m_font.setStyle(toSet(value, styleNames()));
        break;
    default:
        SettingsObject::setProperty(id, value);
    }
}

void FontSettings::writeOwnProperties(StreamObject &object) const
{
    object.add(QStringLiteral("Font.Charset"), charsetValue(m_font.charset()));
    object.add(QStringLiteral("Font.Color"), colorValue(m_font.color()));
    object.add(QStringLiteral("Font.Height"), StreamValue::integer(m_font.height()));
    if (!m_font.name().isEmpty())
        object.add(QStringLiteral("Font.Name"), StreamValue::string(m_font.name()));
    if (m_font.pitch() > SettingsFont::fpDefault && m_font.pitch() <= SettingsFont::fpFixed)
        object.add(QStringLiteral("Font.Pitch"),
                   StreamValue::identifier(pitchNames().at(m_font.pitch())));
    object.add(QStringLiteral("Font.Style"), setValue(m_font.style(), styleNames()));
    if (m_device > fdScreen && m_device <= fdBoth)
        object.add(QStringLiteral("Device"), StreamValue::identifier(deviceNames().at(m_device)));
    if (m_minFontSize != 0)
        object.add(QStringLiteral("MinFontSize"), StreamValue::integer(m_minFontSize));
    if (m_maxFontSize != 0)
        object.add(QStringLiteral("MaxFontSize"), StreamValue::integer(m_maxFontSize));
    if (m_options != fdEffects)
        object.add(QStringLiteral("Options"), setValue(m_options, optionNames()));
}
