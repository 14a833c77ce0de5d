#pragma once

#include "platform/Clipboard.h"

// A clipboard of its own for tests; installed for its lifetime.
class MemoryClipboard : public Clipboard {
public:
    MemoryClipboard();
    ~MemoryClipboard() override;

    void setText(const QString &text) override
    {
        m_text = text;
        ++m_writes;
    }
    QString text() const override { return m_text; }
    int writes() const { return m_writes; }

private:
    QString m_text;
    int m_writes = 0;
    Clipboard *m_previous;
};
