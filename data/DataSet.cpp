#include "data/DataSet.h"

#include "data/Connection.h"
#include "data/SqliteStatement.h"
#include "platform/Error.h"

#include <QMetaMethod>
#include <QVariant>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <future>
#include <system_error>

namespace {

bool onlyBlanks(const char *tail)
{
    for (; tail && *tail; ++tail) {
        if (*tail != ';' && !QChar::isSpace(uchar(*tail)))
            return false;
    }
    return true;
}

} // namespace

DataSet::DataSet(Connection *connection, QObject *parent)
    : QObject(parent)
    , m_connection(connection)
{
}

void DataSet::setSql(const QStringList &lines)
{
    close();
    m_sql = lines;
}

void DataSet::addSql(const QString &line)
{
    close();
    m_sql.append(line);
}

void DataSet::rebuild(const QStringList &lines)
{
    setSql(lines);
    open();
}

DataSet::~DataSet() = default;

void DataSet::open()
{
    start(-1);
}

void DataSet::openDeferred()
{
    start(1);
}

void DataSet::start(int rows)
{
    if (m_active)
        return;
    if (!m_connection)
        throw Error(QStringLiteral("Missing Connection or ConnectionString"));
    m_connection->open();

    const QByteArray sql = statement().toUtf8();
    const char *tail = nullptr;
    auto reader = std::make_unique<SqliteStatement>(m_connection->handle(), sql, &tail);
    if (!*reader)
        throw Error(QStringLiteral("Command text was not set for the command object"));
    if (!onlyBlanks(tail))
        throw Error(QStringLiteral("Characters found after end of SQL statement"));

    QStringList fields;
    const int columns = reader->columnCount();
    for (int c = 0; c < columns; ++c)
        fields.append(reader->columnName(c));
    // The rows are read while the set still reads as closed: views see it change once.
    m_fields = std::move(fields);
    m_reader = std::move(reader);
    try {
        m_rowCount = rows < 0 && isSignalConnected(QMetaMethod::fromSignal(&DataSet::firstRowRead))
                         ? fetchBesideFirstRow()
                         : fetch(rows);
    } catch (...) {
        clearRows();
        throw;
    }

    emit aboutToChangeState();
    m_current = m_rowCount > 0 ? 0 : -1;
    m_active = true;
    emit stateChanged();
}

int DataSet::fetch(int limit)
{
    sqlite3_stmt *const row = m_reader->handle();
    const int columns = int(m_fields.size());
    int read = 0;
    // Text stays UTF-8 until it is read: most cells of a snapshot are never shown.
    for (; limit < 0 || read < limit; ++read) {
        if (!m_reader->step()) {
            m_reader.reset();
            return read;
        }
        for (int c = 0; c < columns; ++c) {
            // One call into the statement per cell; the value's own accessors are plain reads
            // (the connection has no mutex and is used by one thread at a time).
            sqlite3_value *const value = sqlite3_column_value(row, c);
            const int type = sqlite3_value_type(value);
            const char *data = nullptr;
            qsizetype size = 0;
            qint64 integer = 0;
            double real = 0;
            switch (type) {
            case SQLITE_INTEGER:
                integer = sqlite3_value_int64(value);
                data = reinterpret_cast<const char *>(&integer);
                size = sizeof integer;
                break;
            case SQLITE_FLOAT:
                real = sqlite3_value_double(value);
                data = reinterpret_cast<const char *>(&real);
                size = sizeof real;
                break;
            case SQLITE_NULL:
                break;
            default:
                data = reinterpret_cast<const char *>(sqlite3_value_text(value));
                size = sqlite3_value_bytes(value);
                break;
            }
            if (size >= (qsizetype(1) << 29) || m_used + size > qsizetype(UINT32_MAX))
                throw Error(QStringLiteral("The result is too large"));
            m_cells.push_back(Cell{quint32(m_used), quint32(size), quint32(type)});
            // Filled in place and grown by doubling (an append per cell cost more than the
            // copy); the array is kept from one opening to the next.
            if (m_used + size > m_bytes.size())
                m_bytes.resize(
                    std::max(m_used + size, std::max(m_bytes.size() * 2, qsizetype(1) << 16)));
            if (size > 0)
                std::memcpy(m_bytes.data() + m_used, data, size_t(size));
            m_used += size;
        }
    }
    return read;
}

int DataSet::fetchBesideFirstRow()
{
    const int first = fetch(1);
    if (first == 0)
        return 0;
    QStringList values;
    for (qsizetype c = 0; c < m_fields.size(); ++c)
        values.append(cellText(m_cells[size_t(c)]));
    // The other rows: the set's rows and statement are the reading thread's alone until it
    // ends; the handlers get copies.
    std::future<int> rest;
    if (m_reader) {
        try {
            rest = std::async(std::launch::async, [this] { return fetch(-1); });
        } catch (const std::system_error &) {
            // No thread to be had: the rest is read after the handlers.
        }
    }
    try {
        emit firstRowRead(m_fields, values);
    } catch (...) {
        if (rest.valid())
            rest.wait();
        throw;
    }
    if (rest.valid())
        return first + rest.get();
    return first + (m_reader ? fetch(-1) : 0);
}

void DataSet::fetchAll()
{
    if (!m_reader)
        return;
    int read = 0;
    try {
        read = fetch(-1);
    } catch (...) {
        // Part of a snapshot is not the snapshot: the set closes, and views with it.
        close();
        throw;
    }
    if (read == 0)
        return;
    emit aboutToAppendRows(m_rowCount, m_rowCount + read - 1);
    m_rowCount += read;
    emit rowsAppended();
}

void DataSet::clearRows()
{
    m_reader.reset();
    m_fields.clear();
    // The arrays keep their memory for the next opening: memory the system gives anew costs a
    // fault on every page first written, which made copying a search's rows take half as long
    // again as the search.
    m_cells.clear();
    m_used = 0;
    m_rowCount = 0;
    m_current = -1;
}

void DataSet::close()
{
    if (!m_active)
        return;
    emit aboutToChangeState();
    m_active = false;
    clearRows();
    emit stateChanged();
}

void DataSet::raiseClosed()
{
    throw Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void DataSet::checkActive() const
{
    if (!m_active)
        raiseClosed();
}

int DataSet::recordCount() const
{
    checkActive();
    return m_rowCount;
}

void DataSet::setCurrent(int row)
{
    if (row == m_current || row < 0 || row >= m_rowCount)
        return;
    m_current = row;
    emit currentChanged(row);
}

void DataSet::next()
{
    checkActive();
    if (m_current + 1 >= m_rowCount)
        fetchAll();
    setCurrent(m_current + 1);
}

void DataSet::prior()
{
    checkActive();
    setCurrent(m_current - 1);
}

void DataSet::gotoBookmark(int row)
{
    checkActive();
    if (row >= m_rowCount)
        fetchAll();
    if (row < 0 || row >= m_rowCount)
        throw Error(QStringLiteral("Record not found"));
    setCurrent(row);
}

void DataSet::replaceColumn(int column, const std::function<QByteArray(int row)> &value)
{
    if (!m_active || column < 0 || column >= m_fields.size())
        return;
    fetchAll();
    const size_t columns = size_t(m_fields.size());
    std::vector<Cell> cells;
    cells.reserve(m_cells.size());
    QByteArray bytes;
    bytes.reserve(m_bytes.size());
    for (int row = 0; row < m_rowCount; ++row) {
        for (size_t c = 0; c < columns; ++c) {
            const Cell &old = m_cells[size_t(row) * columns + c];
            if (c != size_t(column)) {
                cells.push_back(Cell{quint32(bytes.size()), old.size, old.type});
                bytes.append(m_bytes.constData() + old.offset, old.size);
                continue;
            }
            const QByteArray text = value(row);
            if (text.size() >= (qsizetype(1) << 29) ||
                bytes.size() + text.size() > qsizetype(UINT32_MAX))
                throw Error(QStringLiteral("The result is too large"));
            cells.push_back(Cell{quint32(bytes.size()), quint32(text.size()),
                                 quint32(text.isNull() ? SQLITE_NULL : SQLITE_TEXT)});
            bytes.append(text);
        }
    }
    bytes.squeeze();
    emit aboutToChangeState();
    m_cells = std::move(cells);
    m_bytes = std::move(bytes);
    m_used = m_bytes.size();
    emit stateChanged();
}

QString DataSet::text(int row, int column) const
{
    if (row < 0 || row >= m_rowCount || column < 0 || column >= m_fields.size())
        return QString();
    return cellText(m_cells[size_t(row) * size_t(m_fields.size()) + size_t(column)]);
}

QString DataSet::cellText(const Cell &cell) const
{
    const char *data = m_bytes.constData() + cell.offset;
    switch (cell.type) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER: {
        qint64 integer;
        std::memcpy(&integer, data, sizeof integer);
        return QString::number(integer);
    }
    case SQLITE_FLOAT: {
        double real;
        std::memcpy(&real, data, sizeof real);
        return QVariant(real).toString();
    }
    default:
        return QString::fromUtf8(data, qsizetype(cell.size));
    }
}

int DataSet::fieldIndex(const QString &name) const
{
    for (int c = 0; c < m_fields.size(); ++c) {
        if (m_fields[c].compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

int DataSet::requiredField(const QString &name) const
{
    const int column = fieldIndex(name);
    if (column < 0)
        throw Error(QStringLiteral("Field '%1' not found").arg(name));
    return column;
}

QString DataSet::fieldText(const QString &name) const
{
    checkActive();
    const int column = requiredField(name);
    if (m_current < 0)
        return QString();
    return text(m_current, column);
}
