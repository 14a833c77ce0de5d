#include "doubles/MemoryVersionQuery.h"

MemoryVersionQuery::MemoryVersionQuery(int platformId, int major, int minor)
    : m_previous(&VersionQuery::current())
{
    setVersion(platformId, major, minor);
    VersionQuery::setCurrent(this);
}

MemoryVersionQuery::~MemoryVersionQuery()
{
    VersionQuery::setCurrent(m_previous);
}

PlatformVersion MemoryVersionQuery::version() const
{
    ++m_queries;
    return m_version;
}

void MemoryVersionQuery::setVersion(int platformId, int major, int minor)
{
    m_version.platformId = platformId;
    m_version.major = major;
    m_version.minor = minor;
}
