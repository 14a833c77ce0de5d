#include "platform/Dialogs.h"

#include "platform/QtDialogs.h"

Dialogs::~Dialogs() = default;

template <> Dialogs &Service<Dialogs>::systemDefault()
{
    static QtDialogs qtDialogs;
    return qtDialogs;
}
