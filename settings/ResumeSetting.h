#pragma once

#include <QString>

// Whether the program starts on the last verse the reader was at, kept in a file of its own in
// the configuration directory: "1" or "0" on one line. Off unless stored on.
class ResumeSetting {
public:
    static inline const QString FileName = QStringLiteral("ResumeLastVerse");

    // The stored choice; false when nothing is stored or the file cannot be read.
    static bool load();
    // Stores the choice; raises an Error when the file cannot be written (the old one stays).
    static void save(bool on);
};
