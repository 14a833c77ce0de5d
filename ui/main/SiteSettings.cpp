#include "ui/main/SiteSettings.h"

#include "platform/IniDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <iterator>
#include <optional>

// The packager's values, set when the program is configured.
#ifndef KEVRAN_QUESTION_HOST
#define KEVRAN_QUESTION_HOST "mail.kevran.example"
#endif
#ifndef KEVRAN_QUESTION_RECIPIENT
#define KEVRAN_QUESTION_RECIPIENT "questions@kevran.example"
#endif
#ifndef KEVRAN_WEB_SITE
#define KEVRAN_WEB_SITE "https://www.kevran.example/fa"
#endif

namespace {

std::optional<IniDocument> readFile(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("%s: %s; its settings are ignored", qPrintable(path),
                 qPrintable(file.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = file.read(SiteSettings::MaxFileSize + 1);
    if (bytes.size() > SiteSettings::MaxFileSize) {
        qWarning("%s: larger than %lld bytes; its settings are ignored", qPrintable(path),
                 SiteSettings::MaxFileSize);
        return std::nullopt;
    }
    return IniDocument::parse(bytes);
}

// A value as the file gives it, without blanks at its ends or a pair of quotation marks
// around it.
QString cleaned(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2).trimmed();
    return value;
}

} // namespace

SiteSettings SiteSettings::defaults()
{
    return {QStringLiteral(KEVRAN_QUESTION_HOST), QStringLiteral(KEVRAN_QUESTION_RECIPIENT),
            QStringLiteral(KEVRAN_WEB_SITE)};
}

QStringList SiteSettings::systemFiles()
{
    QString dirs = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_DIRS"));
    if (dirs.trimmed().isEmpty())
        dirs = QStringLiteral("/etc/xdg");
    QStringList files;
    for (const QString &dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        // Relative folders are not allowed in the variable and are skipped.
        if (QDir::isAbsolutePath(dir))
            files.append(QDir(dir).filePath(QStringLiteral("kevran/kevran.conf")));
    }
    return files;
}

SiteSettings SiteSettings::load()
{
    SiteSettings settings = defaults();
    struct Key {
        const char *section;
        const char *key;
        QString SiteSettings::*field;
    };
    const Key keys[] = {{"Question", "Host", &SiteSettings::questionHost},
                        {"Question", "Recipient", &SiteSettings::questionRecipient},
                        {"About", "WebSite", &SiteSettings::webSite}};
    bool set[std::size(keys)] = {};
    for (const QString &path : systemFiles()) {
        const std::optional<IniDocument> file = readFile(path);
        if (!file)
            continue;
        for (size_t i = 0; i < std::size(keys); ++i) {
            if (set[i])
                continue;
            const QString value =
                cleaned(file->value(QLatin1String(keys[i].section), QLatin1String(keys[i].key))
                            .value_or(QString()));
            if (!value.isEmpty()) {
                settings.*keys[i].field = value;
                set[i] = true;
            }
        }
    }
    return settings;
}
