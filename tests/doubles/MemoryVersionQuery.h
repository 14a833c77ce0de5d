#pragma once

#include "platform/VersionQuery.h"

// Answers a version set by the test; installed for its lifetime.
class MemoryVersionQuery : public VersionQuery {
public:
    explicit MemoryVersionQuery(int platformId = PlatformVersion::NtPlatform, int major = 5,
                                int minor = 1);
    ~MemoryVersionQuery() override;

    PlatformVersion version() const override;
    void setVersion(int platformId, int major, int minor);

    // How often the version was asked for.
    int queries() const { return m_queries; }

private:
    PlatformVersion m_version;
    mutable int m_queries = 0;
    VersionQuery *m_previous;
};
