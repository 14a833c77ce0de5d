#pragma once

#include "platform/Error.h"

#include <QString>
#include <functional>

// The message of the Error an operation raised, empty when it raised none.
inline QString errorOf(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const Error &error) {
        return error.message();
    }
    return QString();
}
