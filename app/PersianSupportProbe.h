#pragma once

#include <QString>

class QWidget;

// Checks at start whether the system is set up for Persian and, when it is not, offers to run
// the installer that sets it up. Only Windows XP is checked; everywhere else nothing happens.
class PersianSupportProbe {
public:
    static const QString ConfirmCaption;
    static const QString ConfirmText;
    static const QString Installer;
    static const QString InstallerParameters;
    static const QString PersianLayout;

    // True exactly on version 5.1 of the NT family.
    static bool IsXP();
    // True when every Persian setting in the registry is as expected. Never reports an error.
    static bool isPersianInstalled();

    // The launcher's part at start. When the reader accepts the offer, the installer is started
    // hidden from the program's directory and the program is asked to end; start-up still
    // finishes first.
    static void run(QWidget *window);
};
