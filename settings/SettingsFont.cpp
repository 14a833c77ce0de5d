#include "settings/SettingsFont.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <limits>

namespace {

// The character height of a font whose cell height is `cellHeight` pixels.
int characterHeight(const QFont &font, int cellHeight)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return cellHeight;
    QFont probe(font);
    probe.setPixelSize(1000);
    const qreal cell = QFontMetricsF(probe).height();
    if (cell <= 0)
        return cellHeight;
    return std::max(1, qRound(cellHeight * 1000.0 / cell));
}

} // namespace

QFont SettingsFont::toQFont() const
{
    QFont font(m_name);
    font.setBold(hasStyle(fsBold));
    font.setItalic(hasStyle(fsItalic));
    font.setUnderline(hasStyle(fsUnderline));
    font.setStrikeOut(hasStyle(fsStrikeOut));
    if (m_pitch == fpFixed)
        font.setFixedPitch(true);
    else if (m_pitch == fpVariable)
        font.setFixedPitch(false);
    if (m_height < 0 && m_height != std::numeric_limits<int>::min())
        font.setPixelSize(-m_height);
    else if (m_height > 0)
        font.setPixelSize(characterHeight(font, m_height));
    return font;
}

void SettingsFont::setFromQFont(const QFont &font)
{
    m_name = font.family();
    int pixels = font.pixelSize();
    if (pixels <= 0 && font.pointSizeF() > 0)
        pixels = qRound(font.pointSizeF() * 96.0 / 72.0);
    if (pixels > 0)
        m_height = -pixels;
    quint32 style = 0;
    if (font.weight() > QFont::Normal)
        style |= fsBold;
    if (font.italic())
        style |= fsItalic;
    if (font.underline())
        style |= fsUnderline;
    if (font.strikeOut())
        style |= fsStrikeOut;
    m_style = style;
}

bool SettingsFont::operator==(const SettingsFont &other) const
{
    return m_charset == other.m_charset && m_color == other.m_color && m_height == other.m_height &&
           m_name == other.m_name && m_pitch == other.m_pitch && m_style == other.m_style;
}
