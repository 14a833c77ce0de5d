#pragma once

#include "reader/ReaderRef.h"

#include <QHash>
#include <QString>

struct sqlite3;

// The first words of every verse and the title of every Nahj item of the text database, read
// once, so that a list of thousands of entries shows what each points at without a statement
// per entry. Also answers which refs name something that exists.
class TextOpenings {
public:
    // How much of a verse's text is kept.
    static constexpr int Length = 60;

    // Reads them from the text database's connection; raises an Error when that fails.
    void load(sqlite3 *textDatabase);
    bool isLoaded() const { return m_loaded; }

    QString opening(const ReaderRef &ref) const { return m_openings.value(ref.key()); }
    bool exists(const ReaderRef &ref) const { return m_openings.contains(ref.key()); }

private:
    QHash<quint64, QString> m_openings;
    bool m_loaded = false;
};
