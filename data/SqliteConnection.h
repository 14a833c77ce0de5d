#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;

// Owns one SQLite connection: it is closed when its owner goes, and every call that can fail
// raises an Error carrying SQLite's message.
class SqliteConnection {
public:
    SqliteConnection() = default;
    ~SqliteConnection() { close(); }
    SqliteConnection(const SqliteConnection &) = delete;
    SqliteConnection &operator=(const SqliteConnection &) = delete;
    SqliteConnection(SqliteConnection &&other) noexcept;
    SqliteConnection &operator=(SqliteConnection &&other) noexcept;

    // Opens the file (SQLITE_OPEN_* flags), closing any connection held before. When the file
    // cannot be opened nothing stays open and the Error carries SQLite's reason alone.
    void open(const QByteArray &fileName, int flags);
    // Closes the connection; statements still unfinished keep it alive until they end.
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3 *handle() const { return m_db; }

    // Runs statements that answer no rows.
    void exec(const char *sql);
    // SQLite's message for the connection's last failure.
    QString errorMessage() const;
    [[noreturn]] void raise() const;

private:
    sqlite3 *m_db = nullptr;
};
