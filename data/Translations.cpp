#include "data/Translations.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/SqlValue.h"
#include "data/SqliteStatement.h"
#include "platform/Error.h"

#include <QHash>

namespace {

QString columnText(sqlite3_stmt *stmt, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, column)),
                             sqlite3_column_bytes(stmt, column));
}

// Runs a statement and hands each row to `row`; raises an Error with the engine's message.
template <typename Row> void eachRow(sqlite3 *db, const QByteArray &sql, Row row)
{
    SqliteStatement stmt(db, sql);
    while (stmt.step())
        row(stmt.handle());
}

void exec(sqlite3 *db, const QByteArray &sql)
{
    eachRow(db, sql, [](sqlite3_stmt *) {});
}

bool hasTranslations(sqlite3 *db)
{
    bool found = false;
    eachRow(db,
            "SELECT 1 FROM main.sqlite_master WHERE type = 'table' AND name = 'Translations' "
            "COLLATE NOCASE",
            [&found](sqlite3_stmt *) { found = true; });
    return found;
}

// Whether a statement on the connection has begun giving rows and not ended: dropping or
// making a view would abort it ("abort due to ROLLBACK").
bool statementRunning(sqlite3 *db)
{
    for (sqlite3_stmt *stmt = sqlite3_next_stmt(db, nullptr); stmt;
         stmt = sqlite3_next_stmt(db, stmt)) {
        if (sqlite3_stmt_busy(stmt))
            return true;
    }
    return false;
}

QString identifier(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// The view: every column of main.main in its order, `English` taken from the translation.
QByteArray viewStatement(sqlite3 *db, const QString &code)
{
    QStringList columns;
    eachRow(db, "PRAGMA main.table_info(\"main\")", [&](sqlite3_stmt *stmt) {
        const QString name = columnText(stmt, 1);
        if (name.compare(QLatin1String("English"), Qt::CaseInsensitive) == 0)
            columns.append(QStringLiteral("(SELECT t.Text FROM main.TranslationText AS t "
                                          "WHERE t.Code = %1 AND t.id1 = m.id1) AS %2")
                               .arg(SqlValue::quoted(code), identifier(name)));
        else
            columns.append(QStringLiteral("m.%1 AS %1").arg(identifier(name)));
    });
    return QStringLiteral("CREATE TEMP VIEW main AS SELECT %1 FROM main.main AS m")
        .arg(columns.join(QStringLiteral(", ")))
        .toUtf8();
}

} // namespace

QList<Translations::Translation> Translations::list(Connection *connection)
{
    connection->open();
    sqlite3 *db = connection->handle();
    QList<Translation> translations;
    if (!hasTranslations(db))
        return translations;
    eachRow(
        db, "SELECT Code, Translator, PersianName FROM main.Translations ORDER BY Ord",
        [&](sqlite3_stmt *stmt) {
            translations.append({columnText(stmt, 0), columnText(stmt, 1), columnText(stmt, 2)});
        });
    return translations;
}

QString Translations::choose(Connection *connection, const QString &code)
{
    const QList<Translation> translations = list(connection);
    sqlite3 *db = connection->handle();
    const QString first = translations.isEmpty() ? QString() : translations.first().code;
    QString chosen = first;
    for (const Translation &t : translations) {
        if (t.code == code)
            chosen = code;
    }
    if (chosen == connection->translation() && !chosen.isEmpty())
        return chosen;
    if (statementRunning(db))
        throw Error(QStringLiteral("The translation cannot be changed while rows are still being "
                                   "read on the connection"));
    // Whatever fails below leaves the database's own translation in use.
    exec(db, "DROP VIEW IF EXISTS temp.main");
    connection->setTranslation(first);
    if (chosen != first) {
        exec(db, viewStatement(db, chosen));
        // SQLite checks a view's tables only when it is read: read it once now.
        try {
            exec(db, "SELECT * FROM temp.main LIMIT 1");
        } catch (const Error &) {
            exec(db, "DROP VIEW IF EXISTS temp.main");
            throw;
        }
        connection->setTranslation(chosen);
    }
    return chosen;
}

Translations::Translation Translations::current(Connection *connection)
{
    const QList<Translation> translations = list(connection);
    for (const Translation &t : translations) {
        if (t.code == connection->translation())
            return t;
    }
    return translations.isEmpty() ? Translation() : translations.first();
}

void Translations::refresh(DataSet *verses)
{
    if (!verses || !verses->isActive())
        return;
    const int english = verses->fieldIndex(QStringLiteral("English"));
    const int id = verses->fieldIndex(QStringLiteral("id1"));
    if (english < 0 || id < 0)
        return;
    QHash<qint64, QByteArray> texts;
    texts.reserve(verses->recordCount());
    eachRow(verses->connection()->handle(), "SELECT id1, English FROM main WHERE id1 IS NOT NULL",
            [&texts](sqlite3_stmt *stmt) {
                texts.insert(
                    sqlite3_column_int64(stmt, 0),
                    QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)),
                               sqlite3_column_bytes(stmt, 1)));
            });
    verses->replaceColumn(english, [&](int row) -> QByteArray {
        bool isNumber = false;
        const qint64 key = verses->text(row, id).toLongLong(&isNumber);
        const auto found = texts.constFind(key);
        return isNumber && found != texts.constEnd() ? *found : QByteArray();
    });
}
