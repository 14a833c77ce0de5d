#pragma once

#include "platform/ProfileFile.h"

// Profile files on disk. A write goes to a temporary file beside the target that then
// replaces it, so a failed write leaves the old file as it was.
class SystemProfileFile : public ProfileFile {
protected:
    bool load(const QString &path, QByteArray &bytes) override;
    bool store(const QString &path, const QByteArray &bytes) override;
};
