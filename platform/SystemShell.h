#pragma once

#include "platform/Shell.h"

// Opens web addresses with the desktop's browser and starts programs as detached processes.
class SystemShell : public Shell {
public:
    void open(QWidget *window, const QString &file, const QString &parameters,
              const QString &directory, ShowMode mode) override;
};
