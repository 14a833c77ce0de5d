#include "platform/Registry.h"

#include "platform/SystemRegistry.h"

Registry::~Registry() = default;

template <> Registry &Service<Registry>::systemDefault()
{
    static SystemRegistry system;
    return system;
}
