#pragma once

#include "platform/ProfileFile.h"

// Profile files on disk. A write goes to a temporary file beside the target that then
// replaces it, so a failed write leaves the old file as it was. An update holds a lock file
// beside the target ("<file>.lock") from its read to its write, so that two programs closing
// at once each keep what the other wrote.
class SystemProfileFile : public ProfileFile {
public:
    // How long an update waits for another program's; past it, it goes on unlocked rather
    // than hold up a closing window.
    static constexpr int LockWaitMs = 3000;

protected:
    bool load(const QString &path, QByteArray &bytes) override;
    bool store(const QString &path, const QByteArray &bytes, QString &reason) override;
    void exclusive(const QString &path, const std::function<void()> &update) override;
};
