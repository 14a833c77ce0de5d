#pragma once

#include "platform/Registry.h"

// Reads the registry one key at a time: opening a key closes the one opened before, and the
// last one is closed when the accessor goes, whatever happened in between.
class RegistryAccessor {
public:
    explicit RegistryAccessor(Registry &registry = Registry::current());
    ~RegistryAccessor();
    RegistryAccessor(const RegistryAccessor &) = delete;
    RegistryAccessor &operator=(const RegistryAccessor &) = delete;

    // The root that later keys are opened under; local machine at first.
    void setRoot(Registry::Root root) { m_root = root; }
    // Opens an existing key for reading and writing, never creating it. Answers whether it
    // opened.
    bool openKey(const QString &path);
    void closeKey();

    // Reading with no key open raises Error.
    bool valueExists(const QString &name) const;
    // A missing value reads as the empty text; a value of another kind raises Error.
    QString readString(const QString &name) const;
    // A missing value or one of another kind raises Error.
    qint32 readInteger(const QString &name) const;

private:
    Registry &m_registry;
    Registry::Root m_root = Registry::Root::LocalMachine;
    Registry::Key m_key = Registry::NoKey;
};
