#include "settings/ResumeSetting.h"

#include "platform/ConfigLocation.h"
#include "platform/Error.h"
#include "settings/SettingsFile.h"

#include <QFileInfo>

bool ResumeSetting::load()
{
    const QString path = ConfigLocation::filePath(FileName);
    if (!QFileInfo::exists(path))
        return false;
    try {
        return SettingsFile::read(path).trimmed() == "1";
    } catch (const Error &) {
        return false;
    }
}

void ResumeSetting::save(bool on)
{
    SettingsFile::write(ConfigLocation::filePath(FileName), on ? "1\n" : "0\n");
}
