#include "data/Connection.h"

#include "data/LikeMatcher.h"
#include "platform/Error.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace {

struct RequiredTable {
    const char *name;
    std::initializer_list<const char *> columns;
};

// The tables and columns the program's statements rely on.
const RequiredTable kSchema[] = {
    {"num", {"id", "chapter", "vers", "name"}},
    {"main",
     {"id1", "Arabic", "English", "search1", "sub", "Code", "ID", "Name2", "Top", "arabic2",
      "Farsi", "search"}},
    {"Type", {"Type", "Name"}},
};

} // namespace

Connection::Connection(QObject *parent)
    : QObject(parent)
{
}

Connection::~Connection()
{
    close();
}

void Connection::open()
{
    if (m_db)
        return;
    const QFileInfo info(m_fileName);
    const QString path = info.absoluteFilePath();
    if (!info.exists())
        throw Error(QStringLiteral("Could not find file '%1'").arg(path));
    if (!info.isFile())
        throw Error(QStringLiteral("'%1' is not a file").arg(path));
    if (!info.isReadable())
        throw Error(QStringLiteral("Cannot open '%1': permission denied").arg(path));

    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        throw Error(QStringLiteral("Cannot open '%1': %2").arg(path, why));
    }
    m_db = db;
    // The statements scan whole tables much larger than SQLite's default page cache (2 MB a
    // connection), so a scan reuses none of it anyway; the operating system caches the file.
    // A small cache keeps the program's memory down.
    sqlite3_exec(m_db, "PRAGMA cache_size = -256", nullptr, nullptr, nullptr);
    try {
        checkSchema(path);
    } catch (...) {
        close();
        throw;
    }
    LikeMatcher::install(m_db);
}

void Connection::checkSchema(const QString &path)
{
    for (const RequiredTable &table : kSchema) {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql = QByteArray("PRAGMA table_info(\"") + table.name + "\")";
        if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
            throw Error(QStringLiteral("'%1' is not a text database: %2")
                            .arg(path, QString::fromUtf8(sqlite3_errmsg(m_db))));
        QStringList columns;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            columns.append(
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1))));
        const QString failure = rc == SQLITE_DONE ? QString() : sqlite3_errmsg(m_db);
        sqlite3_finalize(stmt);
        if (!failure.isEmpty())
            throw Error(QStringLiteral("'%1' is not a text database: %2").arg(path, failure));
        if (columns.isEmpty())
            throw Error(QStringLiteral("'%1' is not a text database: table '%2' is missing")
                            .arg(path, QLatin1String(table.name)));
        for (const char *column : table.columns) {
            if (!columns.contains(QLatin1String(column), Qt::CaseInsensitive))
                throw Error(QStringLiteral("'%1' is not a text database: column '%2.%3' is missing")
                                .arg(path, QLatin1String(table.name), QLatin1String(column)));
        }
    }
}

void Connection::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        m_translation.clear();
    }
}
