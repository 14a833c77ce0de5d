#include "platform/VersionQuery.h"

#include "platform/LinuxVersionQuery.h"

namespace {
VersionQuery *g_current = nullptr;
}

VersionQuery::~VersionQuery() = default;

VersionQuery &VersionQuery::current()
{
    static LinuxVersionQuery system;
    return g_current ? *g_current : system;
}

void VersionQuery::setCurrent(VersionQuery *query)
{
    g_current = query;
}
