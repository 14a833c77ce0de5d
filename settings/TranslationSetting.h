#pragma once

#include <QString>

// The reader's choice of Persian translation of the Quran, kept in a file of its own in the
// configuration directory: the translation's id (such as "fa.ansarian") on one line.
class TranslationSetting {
public:
    static inline const QString FileName = QStringLiteral("QuranTranslation");

    // The stored id; empty when nothing is stored, or the file cannot be read or holds no id.
    static QString load();
    // Stores the id; raises an Error when the file cannot be written (the old one stays).
    static void save(const QString &code);
};
