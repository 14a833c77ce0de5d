#include "platform/VersionQuery.h"

#include "platform/LinuxVersionQuery.h"

VersionQuery::~VersionQuery() = default;

template <> VersionQuery &Service<VersionQuery>::systemDefault()
{
    static LinuxVersionQuery system;
    return system;
}
