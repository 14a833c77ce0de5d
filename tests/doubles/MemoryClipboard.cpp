#include "doubles/MemoryClipboard.h"

MemoryClipboard::MemoryClipboard()
    : m_previous(&Clipboard::current())
{
    Clipboard::setCurrent(this);
}

MemoryClipboard::~MemoryClipboard()
{
    Clipboard::setCurrent(m_previous);
}
