#pragma once

#include "platform/Service.h"

#include <QString>

// The system registry: keys under a root, holding named text and integer values.
class Registry : public Service<Registry> {
public:
    enum class Root { LocalMachine, CurrentUser };
    using Key = quintptr;
    static constexpr Key NoKey = 0;

    virtual ~Registry();

    // Opens an existing key for reading and writing; a missing key is never created. Answers
    // NoKey when the key does not exist or cannot be opened with those rights.
    virtual Key openKey(Root root, const QString &path) = 0;
    virtual void closeKey(Key key) = 0;

    // Reading through a key that is not open raises Error.
    virtual bool valueExists(Key key, const QString &name) const = 0;
    // A text value. A missing value reads as the empty text; a value of another kind raises
    // Error.
    virtual QString readText(Key key, const QString &name) const = 0;
    // An integer value. A missing value or one of another kind raises Error.
    virtual qint32 readInteger(Key key, const QString &name) const = 0;
};

template <> Registry &Service<Registry>::systemDefault();
