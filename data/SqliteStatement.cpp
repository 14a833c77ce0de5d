#include "data/SqliteStatement.h"

#include "platform/Error.h"

SqliteStatement::SqliteStatement(sqlite3 *db, const QByteArray &sql, const char **tail)
    : m_db(db)
{
    if (!db)
        throw Error(QStringLiteral("The database is not open"));
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &m_stmt, tail) != SQLITE_OK)
        raise();
}

void SqliteStatement::reset()
{
    check(sqlite3_reset(m_stmt));
}

void SqliteStatement::bindNull(int parameter)
{
    check(sqlite3_bind_null(m_stmt, parameter));
}

void SqliteStatement::bind(int parameter, qint64 value)
{
    check(sqlite3_bind_int64(m_stmt, parameter, value));
}

void SqliteStatement::bind(int parameter, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    check(
        sqlite3_bind_text(m_stmt, parameter, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
}

QString SqliteStatement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

QString SqliteStatement::columnText(int column) const
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column));
}

void SqliteStatement::check(int rc) const
{
    if (rc != SQLITE_OK)
        raise();
}

void SqliteStatement::raise() const
{
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    // Damage is the file's, not the statement's: the reader is told which file it is.
    const int code = sqlite3_extended_errcode(m_db) & 0xff;
    const char *file = sqlite3_db_filename(m_db, "main");
    if ((code == SQLITE_CORRUPT || code == SQLITE_NOTADB) && file && *file)
        throw Error(QStringLiteral("'%1' is damaged: %2").arg(QString::fromUtf8(file), message));
    throw Error(message);
}
