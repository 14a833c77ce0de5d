#include "platform/SystemShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QUrl>

void SystemShell::open(QWidget *, const QString &file, const QString &parameters,
                       const QString &directory, ShowMode)
{
    const QUrl url(file);
    if (url.isValid() && !url.scheme().isEmpty() && url.scheme().size() > 1) {
        QDesktopServices::openUrl(url);
        return;
    }
    const QString program = directory.isEmpty() ? file : QDir(directory).filePath(file);
    QProcess::startDetached(program, QProcess::splitCommand(parameters), directory);
}
