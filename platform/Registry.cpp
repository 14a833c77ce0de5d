#include "platform/Registry.h"

#include "platform/LinuxRegistry.h"

Registry::~Registry() = default;

template <> Registry &Service<Registry>::systemDefault()
{
    static LinuxRegistry system;
    return system;
}
