#include "settings/TranslationSetting.h"

#include "platform/ConfigLocation.h"
#include "platform/Error.h"
#include "settings/SettingsFile.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// A translation's id: letters, digits, dots, hyphens and underscores, as the sources name them.
bool isId(const QString &text)
{
    static const QRegularExpression id(QStringLiteral("^[A-Za-z0-9._-]{1,64}$"));
    return id.match(text).hasMatch();
}

} // namespace

QString TranslationSetting::load()
{
    const QString path = ConfigLocation::filePath(FileName);
    if (!QFileInfo::exists(path))
        return QString();
    try {
        const QString code = QString::fromUtf8(SettingsFile::read(path)).trimmed();
        return isId(code) ? code : QString();
    } catch (const Error &) {
        // An unreadable choice is no choice: the default translation is shown.
        return QString();
    }
}

void TranslationSetting::save(const QString &code)
{
    SettingsFile::write(ConfigLocation::filePath(FileName), code.toUtf8() + '\n');
}
