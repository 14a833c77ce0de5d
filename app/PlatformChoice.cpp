#include "app/PlatformChoice.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <cstdio>

PlatformChoice::Choice PlatformChoice::choose(const Environment &environment,
                                              const std::function<bool(const QString &)> &installed)
{
    Choice choice;
    if (!environment.qpaPlatform.isEmpty())
        return choice;
    const bool wayland =
        !environment.waylandDisplay.isEmpty() || environment.sessionType == "wayland";
    const bool x11 = !environment.display.isEmpty();
    if (wayland) {
        if (environment.compositor && installed(QStringLiteral("wayland"))) {
            // Natively, with the session's X server as a second choice.
            choice.platform = x11 && installed(QStringLiteral("xcb")) ? "wayland;xcb" : "wayland";
        } else if (!environment.compositor && x11 && installed(QStringLiteral("xcb"))) {
            choice.platform = "xcb";
            choice.message = QStringLiteral(
                "kevran: به Wayland (WAYLAND_DISPLAY) نمي توان وصل شد؛ برنامه از راه X اجرا مي "
                "شود.\n"
                "kevran: no Wayland compositor answers at WAYLAND_DISPLAY; running on X (xcb) "
                "instead.");
        } else if (!environment.compositor) {
            choice.canStart = false;
            choice.message = QStringLiteral(
                "kevran: پنجره اي نمي توان نشان داد: به Wayland (WAYLAND_DISPLAY) نمي توان وصل شد "
                "و X هم در کار نيست (DISPLAY خالي است).\n"
                "kevran: cannot show a window: no Wayland compositor answers at WAYLAND_DISPLAY "
                "and DISPLAY is not set.");
        } else if (x11 && installed(QStringLiteral("xcb"))) {
            choice.platform = "xcb";
            choice.message = QStringLiteral(
                "kevran: پشتيباني Wayland (بسته qt6-wayland) نصب نيست؛ برنامه از راه XWayland "
                "اجرا مي شود.\n"
                "kevran: Qt's Wayland platform plug-in (package qt6-wayland) is not installed; "
                "running through XWayland (xcb) instead.");
        } else {
            choice.canStart = false;
            choice.message = QStringLiteral(
                "kevran: پنجره اي نمي توان نشان داد: پشتيباني Wayland (بسته qt6-wayland) نصب "
                "نيست و اين نشست XWayland ندارد. بسته qt6-wayland را نصب کنيد.\n"
                "kevran: cannot show a window: Qt's Wayland platform plug-in (package "
                "qt6-wayland) is not installed and this session has no X server (XWayland). "
                "Install qt6-wayland.");
        }
    } else if (!x11) {
        choice.canStart = false;
        choice.message = QStringLiteral(
            "kevran: پنجره اي نمي توان نشان داد: نه Wayland در کار است و نه X (متغيرهاي "
            "WAYLAND_DISPLAY و DISPLAY خالي اند).\n"
            "kevran: cannot show a window: neither WAYLAND_DISPLAY nor DISPLAY is set (set "
            "QT_QPA_PLATFORM to choose another platform plug-in).");
    }
    return choice;
}

PlatformChoice::Environment PlatformChoice::current()
{
    // The compositor's socket: WAYLAND_DISPLAY as a path, or a name in XDG_RUNTIME_DIR
    // ("wayland-0" when only the session type says Wayland).
    QString socket = QString::fromLocal8Bit(qgetenv("WAYLAND_DISPLAY"));
    if (socket.isEmpty())
        socket = QStringLiteral("wayland-0");
    if (!socket.startsWith(QLatin1Char('/')))
        socket = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR")) + QLatin1Char('/') + socket;
    return {qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"),
            qgetenv("XDG_SESSION_TYPE"), QFileInfo(socket).exists()};
}

bool PlatformChoice::installed(const QString &plugin)
{
    QStringList folders = QString::fromLocal8Bit(qgetenv("QT_PLUGIN_PATH"))
                              .split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders.append(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    const QStringList names{QStringLiteral("libq%1*.so").arg(plugin)};
    for (const QString &folder : folders) {
        if (!QDir(folder + QStringLiteral("/platforms")).entryList(names, QDir::Files).isEmpty())
            return true;
    }
    return false;
}

bool PlatformChoice::prepare(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-platform" || argument == "--platform" ||
            argument.startsWith("-platform=") || argument.startsWith("--platform="))
            return true;
    }
    const Choice choice = choose(current(), &PlatformChoice::installed);
    if (!choice.message.isEmpty()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(choice.message));
        std::fflush(stderr);
    }
    if (!choice.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", choice.platform);
    return choice.canStart;
}
