#include "platform/KeyboardLayout.h"

namespace {
class NoKeyboardLayout : public KeyboardLayout {
public:
    void activate(const QString &) override {}
};

KeyboardLayout *g_current = nullptr;
} // namespace

KeyboardLayout::~KeyboardLayout() = default;

KeyboardLayout &KeyboardLayout::current()
{
    static NoKeyboardLayout none;
    return g_current ? *g_current : none;
}

void KeyboardLayout::setCurrent(KeyboardLayout *layout)
{
    g_current = layout;
}
