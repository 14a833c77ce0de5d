#include "platform/VersionQuery.h"

#include "platform/SystemVersionQuery.h"

VersionQuery::~VersionQuery() = default;

template <> VersionQuery &Service<VersionQuery>::systemDefault()
{
    static SystemVersionQuery system;
    return system;
}
