#pragma once

#include <QString>

// The desktop clipboard, plain text.
class Clipboard {
public:
    virtual ~Clipboard();
    virtual void setText(const QString &text) = 0;
    virtual QString text() const = 0;

    static Clipboard &current();
    static void setCurrent(Clipboard *clipboard);
};
