#include "platform/Dialogs.h"

#include "platform/SystemDialogs.h"

Dialogs::~Dialogs() = default;

template <> Dialogs &Service<Dialogs>::systemDefault()
{
    static SystemDialogs system;
    return system;
}
