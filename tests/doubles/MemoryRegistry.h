#pragma once

#include "platform/Registry.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QVariant>

// A registry held in memory, filled by the test; installed for its lifetime. Key paths and
// value names are compared without regard to case, as the system registry does. It records
// which keys were opened, so tests can follow an accessor's use of it.
class MemoryRegistry : public Registry {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    Key openKey(Root root, const QString &path) override;
    void closeKey(Key key) override;
    bool valueExists(Key key, const QString &name) const override;
    QString readText(Key key, const QString &name) const override;
    qint32 readInteger(Key key, const QString &name) const override;

    // Creates the key when it is missing.
    void addKey(Root root, const QString &path);
    void removeKey(Root root, const QString &path);
    void setText(Root root, const QString &path, const QString &name, const QString &text);
    void setInteger(Root root, const QString &path, const QString &name, qint32 value);
    // A value that is neither text nor an integer.
    void setBinary(Root root, const QString &path, const QString &name, const QByteArray &bytes);
    void removeValue(Root root, const QString &path, const QString &name);
    // The key exists but may only be read, so opening it for writing too fails.
    void setReadOnly(Root root, const QString &path);

    // Every key opened, as "HKLM\path" or "HKCU\path", in order.
    const QStringList &opened() const { return m_opened; }
    // Keys open now, and the most that were ever open at once.
    int openCount() const { return int(m_open.size()); }
    int mostOpenAtOnce() const { return m_mostOpen; }

private:
    struct StoredKey {
        QHash<QString, QVariant> values; // by lower-cased name
        bool readOnly = false;
    };

    static QString keyId(Root root, const QString &path);
    const StoredKey &openedKey(Key key) const;
    StoredKey &stored(Root root, const QString &path);

    QHash<QString, StoredKey> m_keys; // by lower-cased id
    QHash<Key, QString> m_open;
    Key m_nextKey = 1;
    int m_mostOpen = 0;
    QStringList m_opened;
    Registry *m_previous;
};
