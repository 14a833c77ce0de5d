#include "settings/ThemeSetting.h"

#include "platform/ConfigLocation.h"
#include "platform/Error.h"
#include "settings/SettingsFile.h"

#include <QFileInfo>
#include <QRegularExpression>

QString ThemeSetting::load()
{
    const QString path = ConfigLocation::filePath(FileName);
    if (!QFileInfo::exists(path))
        return QString();
    try {
        const QString id = QString::fromUtf8(SettingsFile::read(path)).trimmed();
        static const QRegularExpression word(QStringLiteral("^[a-z]{1,16}$"));
        return word.match(id).hasMatch() ? id : QString();
    } catch (const Error &) {
        // An unreadable choice is no choice: the day theme is shown.
        return QString();
    }
}

void ThemeSetting::save(const QString &id)
{
    SettingsFile::write(ConfigLocation::filePath(FileName), id.toUtf8() + '\n');
}
