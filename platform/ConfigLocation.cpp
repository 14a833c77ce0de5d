#include "platform/ConfigLocation.h"

#include <QDir>
#include <QStandardPaths>

QString ConfigLocation::directory()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(dir);
    return dir;
}

QString ConfigLocation::filePath(const QString &fileName)
{
    return QDir(directory()).filePath(fileName);
}
