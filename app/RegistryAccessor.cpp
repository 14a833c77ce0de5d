#include "app/RegistryAccessor.h"

RegistryAccessor::RegistryAccessor(Registry &registry)
    : m_registry(registry)
{
}

RegistryAccessor::~RegistryAccessor()
{
    closeKey();
}

bool RegistryAccessor::openKey(const QString &path)
{
    closeKey();
    m_key = m_registry.openKey(m_root, path);
    return m_key != Registry::NoKey;
}

void RegistryAccessor::closeKey()
{
    if (m_key != Registry::NoKey)
        m_registry.closeKey(m_key);
    m_key = Registry::NoKey;
}

bool RegistryAccessor::valueExists(const QString &name) const
{
    return m_registry.valueExists(m_key, name);
}

QString RegistryAccessor::readString(const QString &name) const
{
    return m_registry.readText(m_key, name);
}

qint32 RegistryAccessor::readInteger(const QString &name) const
{
    return m_registry.readInteger(m_key, name);
}
