#include "doubles/MemoryKeyboardLayout.h"

MemoryKeyboardLayout::MemoryKeyboardLayout()
    : m_previous(&KeyboardLayout::current())
{
    KeyboardLayout::setCurrent(this);
}

MemoryKeyboardLayout::~MemoryKeyboardLayout()
{
    KeyboardLayout::setCurrent(m_previous);
}
