#pragma once

#include "platform/Service.h"

#include <QString>

// Activates an input layout by its Windows identifier: "00000429" Persian, "00000409" US.
// The default implementation does nothing.
class KeyboardLayout : public Service<KeyboardLayout> {
public:
    static inline const QString Persian = QStringLiteral("00000429");
    static inline const QString US = QStringLiteral("00000409");

    virtual ~KeyboardLayout();
    virtual void activate(const QString &layoutId) = 0;
};

template <> KeyboardLayout &Service<KeyboardLayout>::systemDefault();
