#pragma once

#include "platform/VersionQuery.h"

// The running kernel's release as major and minor version, under an identifier that is none of
// the Windows families.
class SystemVersionQuery : public VersionQuery {
public:
    PlatformVersion version() const override;
};
