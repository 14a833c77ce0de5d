#include "doubles/MemoryRegistry.h"

#include "platform/Error.h"

MemoryRegistry::MemoryRegistry()
    : m_previous(&Registry::current())
{
    Registry::setCurrent(this);
}

MemoryRegistry::~MemoryRegistry()
{
    Registry::setCurrent(m_previous);
}

QString MemoryRegistry::keyId(Root root, const QString &path)
{
    return (root == Root::LocalMachine ? QStringLiteral("HKLM\\") : QStringLiteral("HKCU\\")) +
           path;
}

MemoryRegistry::StoredKey &MemoryRegistry::stored(Root root, const QString &path)
{
    return m_keys[keyId(root, path).toLower()];
}

const MemoryRegistry::StoredKey &MemoryRegistry::openedKey(Key key) const
{
    const auto open = m_open.constFind(key);
    const auto found = open == m_open.constEnd() ? m_keys.constEnd() : m_keys.constFind(*open);
    if (found == m_keys.constEnd())
        throw Error(QStringLiteral("The registry key is not open"));
    return *found;
}

Registry::Key MemoryRegistry::openKey(Root root, const QString &path)
{
    const QString id = keyId(root, path);
    m_opened.append(id);
    const auto found = m_keys.constFind(id.toLower());
    if (found == m_keys.constEnd() || found->readOnly)
        return NoKey;
    const Key key = m_nextKey++;
    m_open.insert(key, id.toLower());
    m_mostOpen = qMax(m_mostOpen, int(m_open.size()));
    return key;
}

void MemoryRegistry::closeKey(Key key)
{
    m_open.remove(key);
}

bool MemoryRegistry::valueExists(Key key, const QString &name) const
{
    return openedKey(key).values.contains(name.toLower());
}

QString MemoryRegistry::readText(Key key, const QString &name) const
{
    const QVariant value = openedKey(key).values.value(name.toLower());
    if (!value.isValid())
        return QString();
    if (value.typeId() != QMetaType::QString)
        throw Error(QStringLiteral("Invalid data type for '%1'").arg(name));
    return value.toString();
}

qint32 MemoryRegistry::readInteger(Key key, const QString &name) const
{
    const QVariant value = openedKey(key).values.value(name.toLower());
    if (value.typeId() != QMetaType::Int)
        throw Error(QStringLiteral("Invalid data type for '%1'").arg(name));
    return value.toInt();
}

void MemoryRegistry::addKey(Root root, const QString &path)
{
    stored(root, path);
}

void MemoryRegistry::removeKey(Root root, const QString &path)
{
    m_keys.remove(keyId(root, path).toLower());
}

void MemoryRegistry::setText(Root root, const QString &path, const QString &name,
                             const QString &text)
{
    stored(root, path).values.insert(name.toLower(), text);
}

void MemoryRegistry::setInteger(Root root, const QString &path, const QString &name, qint32 value)
{
    stored(root, path).values.insert(name.toLower(), value);
}

void MemoryRegistry::setBinary(Root root, const QString &path, const QString &name,
                               const QByteArray &bytes)
{
    stored(root, path).values.insert(name.toLower(), bytes);
}

void MemoryRegistry::removeValue(Root root, const QString &path, const QString &name)
{
    stored(root, path).values.remove(name.toLower());
}

void MemoryRegistry::setReadOnly(Root root, const QString &path)
{
    stored(root, path).readOnly = true;
}
