#include "platform/Shell.h"

#include "platform/SystemShell.h"

Shell::~Shell() = default;

template <> Shell &Service<Shell>::systemDefault()
{
    static SystemShell system;
    return system;
}
