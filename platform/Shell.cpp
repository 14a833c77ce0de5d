#include "platform/Shell.h"

#include "platform/DesktopShell.h"

namespace {
Shell *g_current = nullptr;
}

Shell::~Shell() = default;

Shell &Shell::current()
{
    static DesktopShell desktop;
    return g_current ? *g_current : desktop;
}

void Shell::setCurrent(Shell *shell)
{
    g_current = shell;
}
