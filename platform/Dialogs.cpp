#include "platform/Dialogs.h"

#include "platform/QtDialogs.h"

namespace {
Dialogs *g_current = nullptr;
}

Dialogs::~Dialogs() = default;

Dialogs &Dialogs::current()
{
    static QtDialogs qtDialogs;
    return g_current ? *g_current : qtDialogs;
}

void Dialogs::setCurrent(Dialogs *dialogs)
{
    g_current = dialogs;
}
