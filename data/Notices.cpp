#include "data/Notices.h"

#include "data/Connection.h"
#include "data/SqliteStatement.h"
#include "platform/Error.h"

QString Notices::text(Connection *connection, const QString &source)
{
    connection->open();
    try {
        SqliteStatement stmt(connection->handle(),
                             "SELECT Notice FROM main.Notices WHERE Source = ?");
        stmt.bind(1, source);
        return stmt.step() ? stmt.columnText(0) : QString();
    } catch (const Error &) {
        return QString(); // a database without notices
    }
}
