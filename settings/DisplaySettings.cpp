#include "settings/DisplaySettings.h"

#include "platform/ConfigLocation.h"
#include "platform/Error.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

DisplaySettings::DisplaySettings(const QString &directory)
    : m_directory(directory)
    , m_quran(QStringLiteral("Quran"), 165, 117)
    , m_book(QStringLiteral("Book"), 165, 85)
    , m_all(QStringLiteral("All"), 165, 149)
    , m_quranc(QStringLiteral("Quranc"), 133, 69)
    , m_bookc(QStringLiteral("Bookc"), 109, 109)
{
    preset(SettingsFont(), ColorValue::clWhite);
}

DisplaySettings::DisplaySettings()
    : DisplaySettings(ConfigLocation::directory())
{
}

SettingsObject &DisplaySettings::object(Setting setting)
{
    return const_cast<SettingsObject &>(std::as_const(*this).object(setting));
}

const SettingsObject &DisplaySettings::object(Setting setting) const
{
    switch (setting) {
    case QuranFont:
        return m_quran;
    case BookFont:
        return m_book;
    case WindowFont:
        return m_all;
    case QuranBackground:
        return m_quranc;
    case BookBackground:
        break;
    }
    return m_bookc;
}

void DisplaySettings::preset(const SettingsFont &windowFont, qint32 windowColor)
{
    m_quran.setFont(windowFont);
    m_book.setFont(windowFont);
    m_all.setFont(windowFont);
    m_quranc.setColor(windowColor);
    m_bookc.setColor(windowColor);
}

QString DisplaySettings::fileName(Setting setting)
{
    switch (setting) {
    case QuranFont:
        return QStringLiteral("Quran");
    case BookFont:
        return QStringLiteral("Book");
    case WindowFont:
        return QStringLiteral("ALL");
    case QuranBackground:
        return QStringLiteral("QuranColor");
    case BookBackground:
        break;
    }
    return QStringLiteral("BookColor");
}

QString DisplaySettings::filePath(Setting setting) const
{
    return QDir(m_directory).filePath(fileName(setting));
}

void DisplaySettings::save(Setting setting) const
{
    object(setting).save(filePath(setting));
}

bool DisplaySettings::load(Setting setting)
{
    const QString path = filePath(setting);
    if (!QFileInfo::exists(path))
        return false;
    const QByteArray bytes = SettingsFile::read(path);
    try {
        object(setting).read(bytes);
    } catch (const Error &error) {
        throw Error(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), error.message()));
    }
    return true;
}

DisplaySettings::RestoreResult DisplaySettings::restore()
{
    RestoreResult result;
    for (int i = 0; i < settingCount; ++i) {
        const Setting setting = Setting(i);
        try {
            if (load(setting))
                result.restored << setting;
        } catch (const Error &error) {
            result.errors << error.message();
        }
    }
    return result;
}
