#pragma once

#include <QByteArray>
#include <QString>
#include <sqlite3.h>

// Owns one prepared SQLite statement: it is finalized when its owner goes, and every call that
// can fail raises an Error carrying SQLite's message; for a damaged database file the message
// names the file and says it is damaged.
class SqliteStatement {
public:
    // Prepares the first statement of sql. A text of nothing but blanks and comments prepares
    // to no statement (the object then tests false). tail, when given, is pointed at what
    // follows the first statement.
    SqliteStatement(sqlite3 *db, const QByteArray &sql, const char **tail = nullptr);
    ~SqliteStatement() { sqlite3_finalize(m_stmt); }
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    explicit operator bool() const { return m_stmt != nullptr; }
    sqlite3_stmt *handle() const { return m_stmt; }

    // One step: true when it gives a row, false when the statement is done.
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            raise();
        return false;
    }
    // Makes the statement ready to run again; bound values stay.
    void reset();

    // Parameters count from 1. Text is bound as UTF-8, a null QString as empty text.
    void bindNull(int parameter);
    void bind(int parameter, qint64 value);
    void bind(int parameter, const QString &text);

    int columnCount() const { return sqlite3_column_count(m_stmt); }
    QString columnName(int column) const;
    QString columnText(int column) const;

    [[noreturn]] void raise() const;

private:
    void check(int rc) const;

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};
