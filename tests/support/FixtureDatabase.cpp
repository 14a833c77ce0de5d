#include "support/FixtureDatabase.h"

#include <QFile>
#include <QTest>
#include <sqlite3.h>

namespace {

void run(sqlite3 *db, const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString message = QString::fromUtf8(error);
        sqlite3_free(error);
        qFatal("fixture SQL failed: %s: %s", qPrintable(sql), qPrintable(message));
    }
}

QString literal(const QString &s)
{
    QString q = s;
    return QLatin1Char('\'') + q.replace(QLatin1Char('\''), QLatin1String("''")) +
           QLatin1Char('\'');
}

} // namespace

void FixtureDatabase::write(const QString &path, const QList<Verse> &verses,
                            const QStringList &extraSql)
{
    QFile::remove(path);
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    run(db,
        QStringLiteral(
            "CREATE TABLE num (id INTEGER PRIMARY KEY, chapter INTEGER, vers INTEGER, name TEXT);"
            "CREATE TABLE main (id1 INTEGER, Arabic TEXT, English TEXT, search1 TEXT, sub TEXT,"
            " Code INTEGER, ID INTEGER, Name2 TEXT, Top TEXT, arabic2 TEXT, Farsi TEXT, search "
            "TEXT);"
            "CREATE TABLE Type (Type INTEGER PRIMARY KEY, Name TEXT);"
            "BEGIN;"));
    int id = 0;
    for (const Verse &v : verses) {
        ++id;
        run(db, QStringLiteral("INSERT INTO num VALUES (%1, %2, %3, %4);")
                    .arg(id)
                    .arg(v.chapter)
                    .arg(v.vers)
                    .arg(literal(QStringLiteral("sura %1").arg(v.chapter))));
        run(db,
            QStringLiteral("INSERT INTO main (id1, Arabic, English, search1, sub) "
                           "VALUES (%1, %2, %3, %4, %5);")
                .arg(id)
                .arg(literal(v.arabic), literal(v.english), literal(v.search1), literal(v.sub)));
    }
    for (const QString &sql : extraSql)
        run(db, sql);
    run(db, QStringLiteral("COMMIT;"));
    sqlite3_close(db);
}

void FixtureDatabase::exec(const QString &path, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    run(db, sql);
    sqlite3_close(db);
}
