#pragma once

#include "settings/ColorSettings.h"
#include "settings/FontSettings.h"

#include <QList>
#include <QString>
#include <QStringList>

// The five display settings of the main window: the font settings objects Quran, Book and All,
// the colour settings objects Quranc and Bookc, and their files in the configuration directory.
//
// The display settings page applies them: a font with SettingsFont::toQFont() and textColor(),
// a background with ColorSettings::toQColor().
class DisplaySettings {
public:
    enum Setting { QuranFont, BookFont, WindowFont, QuranBackground, BookBackground };
    static constexpr int settingCount = 5;

    // The objects start from the main window's designed font and colour (white), and from
    // their fixed placements.
    explicit DisplaySettings(const QString &directory);
    // The same in the configuration directory.
    DisplaySettings();

    FontSettings &quran() { return m_quran; }
    FontSettings &book() { return m_book; }
    FontSettings &all() { return m_all; }
    ColorSettings &quranc() { return m_quranc; }
    ColorSettings &bookc() { return m_bookc; }
    SettingsObject &object(Setting setting);
    const SettingsObject &object(Setting setting) const;

    // Presets the three font objects with the window's font and the two colour objects with
    // the window's colour.
    void preset(const SettingsFont &windowFont, qint32 windowColor);

    // "Quran", "Book", "ALL", "QuranColor", "BookColor".
    static QString fileName(Setting setting);
    QString filePath(Setting setting) const;

    // Writes the setting's object to its file; raises "Cannot create file ..." on failure.
    void save(Setting setting) const;
    // Reads the setting's file into its object. False when there is no file. Raises
    // "Cannot open file ..." when it cannot be read, and "<path>: <reader's error>" when it
    // is damaged; what was read before the fault stays in the object.
    bool load(Setting setting);

    struct RestoreResult {
        QList<Setting> restored; // read completely, in order: to be applied
        QStringList errors;      // one report per damaged or unreadable file
    };
    // Restores each setting on its own: a missing file skips only its own setting, and so does
    // a damaged one, which is reported.
    RestoreResult restore();

private:
    QString m_directory;
    FontSettings m_quran;
    FontSettings m_book;
    FontSettings m_all;
    ColorSettings m_quranc;
    ColorSettings m_bookc;
};
