#include "data/Connection.h"

#include "data/LikeMatcher.h"
#include "data/SqliteStatement.h"
#include "data/TextSchema.h"
#include "platform/Error.h"

#include <QFileInfo>
#include <sqlite3.h>

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
    if (m_db.isOpen())
        return;
    const QFileInfo info(m_fileName);
    const QString path = info.absoluteFilePath();
    if (!info.exists())
        throw Error(QStringLiteral("Could not find file '%1'").arg(path));
    if (!info.isFile())
        throw Error(QStringLiteral("'%1' is not a file").arg(path));
    if (!info.isReadable())
        throw Error(QStringLiteral("Cannot open '%1': permission denied").arg(path));

    try {
        m_db.open(path.toUtf8(), SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
    } catch (const Error &e) {
        throw Error(QStringLiteral("Cannot open '%1': %2").arg(path, e.message()));
    }
    try {
        // The statements scan whole tables much larger than SQLite's default page cache (2 MB
        // a connection), so a scan reuses none of it anyway; the operating system caches the
        // file. A small cache keeps the program's memory down. A file that is no database
        // fails here first.
        try {
            m_db.exec("PRAGMA cache_size = -256");
        } catch (const Error &e) {
            throw Error(QStringLiteral("'%1' is not a text database: %2").arg(path, e.message()));
        }
        checkSchema(path);
        try {
            LikeMatcher::install(m_db.handle());
        } catch (const Error &e) {
            throw Error(QStringLiteral("Cannot open '%1': %2").arg(path, e.message()));
        }
    } catch (...) {
        close();
        throw;
    }
}

void Connection::checkSchema(const QString &path)
{
    for (const TextSchema::Table *table : TextSchema::tables()) {
        if (!table->read)
            continue;
        QStringList columns;
        try {
            SqliteStatement info(m_db.handle(),
                                 QByteArray("PRAGMA table_info(\"") + table->name + "\")");
            while (info.step())
                columns.append(info.columnText(1));
        } catch (const Error &) {
            // SQLite's own words: the message names the file already.
            throw Error(QStringLiteral("'%1' is not a text database: %2")
                            .arg(path, QString::fromUtf8(sqlite3_errmsg(m_db.handle()))));
        }
        if (columns.isEmpty())
            throw Error(QStringLiteral("'%1' is not a text database: table '%2' is missing")
                            .arg(path, QLatin1String(table->name)));
        for (const std::initializer_list<TextSchema::Column> &line : table->lines) {
            for (const TextSchema::Column &column : line) {
                if (!columns.contains(QLatin1String(column.name), Qt::CaseInsensitive))
                    throw Error(
                        QStringLiteral("'%1' is not a text database: column '%2.%3' is missing")
                            .arg(path, QLatin1String(table->name), QLatin1String(column.name)));
            }
        }
    }
}

void Connection::close()
{
    if (m_db.isOpen()) {
        m_db.close();
        m_translation.clear();
    }
}
