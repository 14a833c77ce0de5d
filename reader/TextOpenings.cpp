#include "reader/TextOpenings.h"

#include "data/SqliteStatement.h"

void TextOpenings::load(sqlite3 *textDatabase)
{
    QHash<quint64, QString> openings;
    openings.reserve(6236 + 500);
    SqliteStatement verses(textDatabase, "SELECT num.chapter, num.vers, substr(main.Arabic, 1, " +
                                             QByteArray::number(Length) +
                                             ") FROM num JOIN main.main ON main.id1 = num.id");
    while (verses.step()) {
        sqlite3_stmt *s = verses.handle();
        openings.insert(
            ReaderRef::ofVerse(sqlite3_column_int(s, 0), sqlite3_column_int(s, 1)).key(),
            verses.columnText(2));
    }
    SqliteStatement items(textDatabase,
                          "SELECT Code, ID, Name2, Top FROM main.main WHERE Code IS NOT NULL");
    while (items.step()) {
        sqlite3_stmt *s = items.handle();
        const ReaderRef ref = ReaderRef::ofNahj(sqlite3_column_int(s, 0), sqlite3_column_int(s, 1));
        const QString top = items.columnText(3).trimmed();
        openings.insert(ref.key(), top.isEmpty() ? items.columnText(2).trimmed() : top);
    }
    m_openings = std::move(openings);
    m_loaded = true;
}
