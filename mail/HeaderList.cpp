#include "mail/HeaderList.h"

void HeaderList::set(const QString &name, const QByteArray &value)
{
    const int at = indexOf(name);
    if (value.isEmpty()) {
        if (at >= 0)
            m_fields.removeAt(at);
    } else if (at >= 0) {
        m_fields[at].value = value;
    } else {
        m_fields.append({name, value});
    }
}

QByteArray HeaderList::value(const QString &name) const
{
    const int at = indexOf(name);
    return at >= 0 ? m_fields.at(at).value : QByteArray();
}

int HeaderList::indexOf(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
