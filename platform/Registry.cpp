#include "platform/Registry.h"

#include "platform/LinuxRegistry.h"

namespace {
Registry *g_current = nullptr;
}

Registry::~Registry() = default;

Registry &Registry::current()
{
    static LinuxRegistry system;
    return g_current ? *g_current : system;
}

void Registry::setCurrent(Registry *registry)
{
    g_current = registry;
}
