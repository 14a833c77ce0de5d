#pragma once

#include "platform/Registry.h"

// Linux has no system registry: no key exists, so none opens.
class SystemRegistry : public Registry {
public:
    Key openKey(Root root, const QString &path) override;
    void closeKey(Key key) override;
    bool valueExists(Key key, const QString &name) const override;
    QString readText(Key key, const QString &name) const override;
    qint32 readInteger(Key key, const QString &name) const override;
};
