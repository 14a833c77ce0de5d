#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class Connection;
class SqliteStatement;

// A read-only, static snapshot of one statement's rows with a current row. The statement is a
// list of lines joined with line breaks; changing the lines closes the set. Operations that
// need the rows raise an Error while the set is closed.
class DataSet : public QObject {
    Q_OBJECT
public:
    explicit DataSet(Connection *connection, QObject *parent = nullptr);
    ~DataSet() override;

    Connection *connection() const { return m_connection; }

    // The statement.
    const QStringList &sql() const { return m_sql; }
    // Closes the set and makes the lines its statement.
    void setSql(const QStringList &lines);
    void addSql(const QString &line);
    QString statement() const { return m_sql.join(QLatin1Char('\n')); }
    // Closes the set, makes the lines its statement and opens it again.
    void rebuild(const QStringList &lines);

    // Runs the statement and makes its first row current; an error leaves the set closed.
    void open();
    // As open(), reading the first row only. The other rows are read by fetchAll(), or by an
    // operation that moves past the rows read (next, gotoBookmark) or replaces a column; the
    // const accessors never read them, so views see the rows read so far, and the rest as
    // appended rows. What the set holds is the same snapshot. Until the rest is read its
    // statement runs: read the rest before changing the schema on the connection.
    void openDeferred();
    // Reads the rows a deferred opening left, if any. An error while reading closes the set
    // (part of a snapshot is not the snapshot) and is raised.
    void fetchAll();
    bool isFetched() const { return !m_reader; }
    void close();
    bool isActive() const { return m_active; }

    // The rows read: every row, but for a deferred opening whose rest is not read yet.
    int recordCount() const;
    bool isEmpty() const { return !m_active || m_rowCount == 0; }
    // The current row's position, -1 while the set is closed or empty.
    int currentRow() const { return m_current; }
    void next();
    void prior();
    // Makes the row at this position of the open set current.
    void gotoBookmark(int row);

    // Columns, looked up by name without regard to case: -1 for a name the set lacks.
    int fieldIndex(const QString &name) const;
    // As fieldIndex, raising "Field '%s' not found" for a name the set lacks.
    int requiredField(const QString &name) const;
    // The current row's value of a column as text; a name the set lacks is an error.
    QString fieldText(const QString &name) const;

    // Any row's value as text, for views over the whole snapshot; a null string for a row or
    // column the set does not hold (or has not read yet).
    QString text(int row, int column) const;
    // Gives every row of the open set a new value in one column, keeping the rows and the
    // current row; views reset as on a reopening. Values are text as UTF-8 bytes; a null array
    // is NULL.
    void replaceColumn(int column, const std::function<QByteArray(int row)> &value);

    // Raises the error of an operation on a closed set, also the error of reaching for a set
    // where none is bound.
    [[noreturn]] static void raiseClosed();

signals:
    // Around every open and close; views reset on these.
    void aboutToChangeState();
    void stateChanged();
    // The current row moved inside the open set.
    void currentChanged(int row);
    // The rows a deferred opening left were read: rows first to last are added at the end.
    void aboutToAppendRows(int first, int last);
    void rowsAppended();
    // An opening (not a deferred one) has read its first row, and reads the others on a thread
    // of its own while the handlers run: a moment for work that needs that row alone, such as
    // laying out its text, which then costs the reader no time beside the scan. values holds
    // the row's cells as text, in the order of fields. Emitted only when connected. The set
    // still reads as closed until stateChanged; a handler must use neither the set nor its
    // connection.
    void firstRowRead(const QStringList &fields, const QStringList &values);

private:
    void start(int rows);
    // Reads up to `limit` more rows of the running statement, every row when negative, and
    // answers how many; they are held after the rows counted so far, and counted by the
    // caller. The statement is finalized once it has given its last row.
    int fetch(int limit);
    // Reads every row, the first here and the others beside the handlers of firstRowRead.
    int fetchBesideFirstRow();
    void clearRows();
    void checkActive() const;
    void setCurrent(int row);

    Connection *m_connection;
    QStringList m_sql;
    bool m_active = false;
    QStringList m_fields;
    // The snapshot: every cell's bytes one after another (text as UTF-8, numbers in their
    // binary form), and per cell where its bytes are and what they hold. One allocation for
    // the whole snapshot instead of one per cell.
    struct Cell {
        quint32 offset;
        quint32 size : 29;
        quint32 type : 3; // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL
    };
    QString cellText(const Cell &cell) const;
    QByteArray m_bytes;
    // The bytes in use: the array grows by doubling while rows are read, and keeps its size
    // (the largest snapshot the set held) while the set is closed and opened again.
    qsizetype m_used = 0;
    std::vector<Cell> m_cells;
    // The statement, while rows are left to read.
    std::unique_ptr<SqliteStatement> m_reader;
    int m_rowCount = 0;
    int m_current = -1;
};
