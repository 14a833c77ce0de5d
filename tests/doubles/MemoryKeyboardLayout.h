#pragma once

#include "platform/KeyboardLayout.h"

#include <QStringList>

// Records every layout activation; installed for its lifetime.
class MemoryKeyboardLayout : public KeyboardLayout {
public:
    MemoryKeyboardLayout();
    ~MemoryKeyboardLayout() override;

    void activate(const QString &layoutId) override { m_activated.append(layoutId); }
    const QStringList &activated() const { return m_activated; }

private:
    QStringList m_activated;
    KeyboardLayout *m_previous;
};
