#pragma once

#include "platform/Service.h"

// The platform's identifier and version, as the operating system reports them.
struct PlatformVersion {
    // The identifier of the Windows NT family; other systems report other identifiers.
    static constexpr int NtPlatform = 2;
    // Reported by systems that are not Windows at all.
    static constexpr int OtherPlatform = -1;

    int platformId = OtherPlatform;
    int major = 0;
    int minor = 0;
};

// Asks the operating system which platform and version it is.
class VersionQuery : public Service<VersionQuery> {
public:
    virtual ~VersionQuery();
    virtual PlatformVersion version() const = 0;
};

template <> VersionQuery &Service<VersionQuery>::systemDefault();
