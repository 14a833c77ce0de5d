#include "data/SqliteConnection.h"

#include "platform/Error.h"

#include <sqlite3.h>
#include <utility>

SqliteConnection::SqliteConnection(SqliteConnection &&other) noexcept
    : m_db(std::exchange(other.m_db, nullptr))
{
}

SqliteConnection &SqliteConnection::operator=(SqliteConnection &&other) noexcept
{
    if (this != &other) {
        close();
        m_db = std::exchange(other.m_db, nullptr);
    }
    return *this;
}

void SqliteConnection::open(const QByteArray &fileName, int flags)
{
    close();
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(fileName.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        // Even a failed open may leave a handle, which carries the reason and must be closed.
        const QString why = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw Error(why);
    }
    m_db = db;
}

void SqliteConnection::close()
{
    // The _v2 form never fails for statements still open: it closes once they are finalized.
    if (m_db)
        sqlite3_close_v2(std::exchange(m_db, nullptr));
}

void SqliteConnection::exec(const char *sql)
{
    if (!m_db)
        throw Error(QStringLiteral("The database is not open"));
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        raise();
}

QString SqliteConnection::errorMessage() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                : QStringLiteral("The database is not open");
}

void SqliteConnection::raise() const
{
    throw Error(errorMessage());
}
