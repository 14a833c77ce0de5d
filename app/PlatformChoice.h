#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

// Which of Qt's platform plug-ins the program starts on, chosen before the application object
// is made. On a Wayland session it starts natively when Qt's Wayland plug-in is installed; else
// it falls back to the X server of the session (XWayland) and says why; where it can show no
// window at all it says so and ends, instead of Qt's abort. A plug-in named in QT_QPA_PLATFORM
// is always left as given.
class PlatformChoice {
public:
    struct Environment {
        QByteArray qpaPlatform;    // QT_QPA_PLATFORM
        QByteArray waylandDisplay; // WAYLAND_DISPLAY
        QByteArray display;        // DISPLAY
        QByteArray sessionType;    // XDG_SESSION_TYPE
        bool compositor = false;   // a Wayland compositor listens at WAYLAND_DISPLAY
    };
    struct Choice {
        QByteArray platform; // what QT_QPA_PLATFORM is set to; empty: Qt's own choice
        QString message;     // what the program says on standard error; empty: nothing
        bool canStart = true;
    };

    // The choice for an environment, given which plug-ins ("wayland", "xcb") are installed.
    static Choice choose(const Environment &environment,
                         const std::function<bool(const QString &)> &installed);
    // The process's environment, and whether a platform plug-in is installed where Qt looks.
    static Environment current();
    static bool installed(const QString &plugin);
    // Makes the choice for this process: sets QT_QPA_PLATFORM, writes the message. Answers
    // false when the program cannot start. A plug-in named on the command line (-platform)
    // is left to Qt.
    static bool prepare(int argc, char *argv[]);
};
