#include "platform/Shell.h"

#include "platform/DesktopShell.h"

Shell::~Shell() = default;

template <> Shell &Service<Shell>::systemDefault()
{
    static DesktopShell desktop;
    return desktop;
}
