#include "platform/KeyboardLayout.h"

namespace {
class NoKeyboardLayout : public KeyboardLayout {
public:
    void activate(const QString &) override {}
};

} // namespace

KeyboardLayout::~KeyboardLayout() = default;

template <> KeyboardLayout &Service<KeyboardLayout>::systemDefault()
{
    static NoKeyboardLayout system;
    return system;
}
