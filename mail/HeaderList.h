#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Header fields in order, each a name and a value. Setting a value replaces the field of that
// name (compared without regard to case) in its place; an empty value removes it.
class HeaderList {
public:
    struct Field {
        QString name;
        QByteArray value;
    };

    void set(const QString &name, const QByteArray &value);
    void set(const QString &name, const QString &value) { set(name, value.toUtf8()); }
    QByteArray value(const QString &name) const;
    bool contains(const QString &name) const { return indexOf(name) >= 0; }
    void clear() { m_fields.clear(); }
    bool isEmpty() const { return m_fields.isEmpty(); }
    const QList<Field> &fields() const { return m_fields; }

private:
    int indexOf(const QString &name) const;

    QList<Field> m_fields;
};
