#include "data/Notices.h"

#include "data/Connection.h"

#include <sqlite3.h>

QString Notices::text(Connection *connection, const QString &source)
{
    connection->open();
    sqlite3 *db = connection->handle();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT Notice FROM main.Notices WHERE Source = ?", -1, &stmt,
                           nullptr) != SQLITE_OK)
        return QString(); // a database without notices
    const QByteArray name = source.toUtf8();
    sqlite3_bind_text(stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    QString notice;
    if (sqlite3_step(stmt) == SQLITE_ROW)
        notice = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)),
                                   sqlite3_column_bytes(stmt, 0));
    sqlite3_finalize(stmt);
    return notice;
}
