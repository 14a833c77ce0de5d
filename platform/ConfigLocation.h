#pragma once

#include <QString>

// Where the program keeps its configuration files: the per-user configuration directory,
// created when missing (an installed program's own directory is not writable).
class ConfigLocation {
public:
    static QString directory();
    static QString filePath(const QString &fileName);
};
