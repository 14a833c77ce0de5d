#pragma once

#include "settings/SettingsObject.h"

#include <QColor>
#include <QStringList>

// A colour settings object (kind TColorDialog): the colour a colour chooser starts from and
// returns, and the chooser's sixteen custom colours, kept as the lines "ColorA=..." to
// "ColorP=..." of its custom colour list.
class ColorSettings : public SettingsObject {
public:
    enum Option : quint32 {
        cdFullOpen = 1u << 0,
        cdPreventFullOpen = 1u << 1,
        cdShowHelp = 1u << 2,
        cdSolidColor = 1u << 3,
        cdAnyColor = 1u << 4,
    };

    static constexpr int customColorCount = 16;
    // The custom colour value that stands for no colour.
    static constexpr quint32 noColor = 0xFFFFFFFFu;

    explicit ColorSettings(const QString &name, int left = 0, int top = 0);

    QString kindName() const override { return QStringLiteral("TColorDialog"); }

    qint32 color() const { return m_color; }
    void setColor(qint32 color) { m_color = color; }
    // The colour as shown; a system colour takes its current value.
    QColor toQColor() const;
    void setFromQColor(const QColor &color);

    const QStringList &customColors() const { return m_customColors; }
    void setCustomColors(const QStringList &lines) { m_customColors = lines; }
    // Custom colour 0 to 15 (letters A to P): the entry's value read as a hexadecimal number,
    // noColor when the entry is missing or not a number.
    quint32 customColor(int index) const;
    // Stores the entry "Color<letter>=<value>" with at least six upper-case hexadecimal
    // digits, in place of an existing entry or else at the end of the list.
    void setCustomColor(int index, quint32 value);
    // The same as QColor: invalid for no colour.
    QColor customQColor(int index) const;
    void setCustomQColor(int index, const QColor &color);

    quint32 options() const { return m_options; }
    void setOptions(quint32 options) { m_options = options; }

protected:
    const std::vector<PropertyNode> &properties() const override;
    void setProperty(int id, const StreamValue &value) override;
    void writeOwnProperties(StreamObject &object) const override;
    // A stream without a Color line stands for the default colour, black, which is not
    // written; so the colour is reset before a stream is applied.
    void beforeApply() override { m_color = 0; }

private:
    qsizetype entryIndex(int index) const;

    qint32 m_color = 0;
    QStringList m_customColors;
    quint32 m_options = 0;
};
