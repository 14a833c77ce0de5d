#pragma once

#include "platform/Service.h"

#include <QString>

// The desktop clipboard, plain text.
class Clipboard : public Service<Clipboard> {
public:
    virtual ~Clipboard();
    virtual void setText(const QString &text) = 0;
    virtual QString text() const = 0;
};

template <> Clipboard &Service<Clipboard>::systemDefault();
