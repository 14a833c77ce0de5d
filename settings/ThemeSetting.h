#pragma once

#include <QString>

// The reader's choice of theme, kept in a file of its own in the configuration directory: the
// theme's id ("day", "night" or "paper") on one line.
class ThemeSetting {
public:
    static inline const QString FileName = QStringLiteral("Theme");

    // The stored id; empty when nothing is stored, or the file cannot be read or holds no id.
    static QString load();
    // Stores the id; raises an Error when the file cannot be written (the old one stays).
    static void save(const QString &id);
};
