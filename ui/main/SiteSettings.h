#pragma once

#include <QString>
#include <QStringList>

// Where the question page sends to and which web site the about page opens. The packager sets
// them when configuring the build; an administrator may override each one, without
// rebuilding, in the system-wide file kevran/kevran.conf of the XDG system configuration
// directories ($XDG_CONFIG_DIRS, by default /etc/xdg): keys Host and Recipient of section
// [Question], WebSite of section [About]. The reader never sees them.
struct SiteSettings {
    QString questionHost;
    QString questionRecipient;
    QString webSite;

    static constexpr qint64 MaxFileSize = 64 * 1024;

    // The packager's values.
    static SiteSettings defaults();
    // The packager's values with the administrator's overrides, as the files say now. A key
    // missing or empty in every file keeps its default; a file that cannot be read, or is
    // larger than MaxFileSize, is skipped with a warning on standard error.
    static SiteSettings load();
    // The override files that may exist, most important first.
    static QStringList systemFiles();
};
