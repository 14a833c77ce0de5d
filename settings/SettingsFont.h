#pragma once

#include "settings/CharsetNames.h"
#include "settings/ColorValue.h"

#include <QColor>
#include <QFont>
#include <QString>

// The font held by a font settings object: face name, height, style, pitch, text colour and
// character set. It starts as the main window's designed font: Tahoma, Arabic character set,
// 11 pixels high, regular, in the window-text colour.
class SettingsFont {
public:
    enum Pitch { fpDefault, fpVariable, fpFixed };
    enum Style : quint32 { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

    int charset() const { return m_charset; }
    void setCharset(int charset) { m_charset = charset; }
    qint32 color() const { return m_color; }
    void setColor(qint32 color) { m_color = color; }
    // Pixels; a negative height is the character height, a positive one the cell height.
    int height() const { return m_height; }
    void setHeight(int height) { m_height = height; }
    const QString &name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    Pitch pitch() const { return m_pitch; }
    void setPitch(Pitch pitch) { m_pitch = pitch; }
    quint32 style() const { return m_style; }
    void setStyle(quint32 style) { m_style = style; }
    bool hasStyle(Style style) const { return (m_style & style) != 0; }

    // The font to give a widget: face, pixel size, style and pitch. The text colour is not
    // part of a QFont: see textColor().
    QFont toQFont() const;
    // Takes face, height and style from a QFont (bold when its weight is above regular);
    // pitch, colour and character set stay.
    void setFromQFont(const QFont &font);

    QColor textColor() const { return ColorValue::toQColor(m_color); }
    void setTextColor(const QColor &color) { m_color = ColorValue::fromQColor(color); }

    bool operator==(const SettingsFont &other) const;
    bool operator!=(const SettingsFont &other) const { return !(*this == other); }

private:
    int m_charset = CharsetNames::ARABIC_CHARSET;
    qint32 m_color = ColorValue::clWindowText;
    int m_height = -11;
    QString m_name = QStringLiteral("Tahoma");
    Pitch m_pitch = fpDefault;
    quint32 m_style = 0;
};
