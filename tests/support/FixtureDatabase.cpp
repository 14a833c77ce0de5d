#include "support/FixtureDatabase.h"

#include "data/SqliteConnection.h"
#include "data/TextSchema.h"
#include "platform/Error.h"

#include <QFile>
#include <QTest>
#include <sqlite3.h>

namespace {

void run(SqliteConnection &db, const QByteArray &sql)
{
    try {
        db.exec(sql.constData());
    } catch (const Error &e) {
        qFatal("fixture SQL failed: %s: %s", sql.constData(), qPrintable(e.message()));
    }
}

SqliteConnection openFile(const QString &path)
{
    SqliteConnection db;
    try {
        db.open(QFile::encodeName(path), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    } catch (const Error &e) {
        qFatal("fixture %s: %s", qPrintable(path), qPrintable(e.message()));
    }
    return db;
}

QString literal(const QString &s)
{
    QString q = s;
    return QLatin1Char('\'') + q.replace(QLatin1Char('\''), QLatin1String("''")) +
           QLatin1Char('\'');
}

} // namespace

QList<FixtureDatabase::Verse> FixtureDatabase::numbered(int suras, int versesEach)
{
    QList<Verse> verses;
    for (int s = 1; s <= suras; ++s)
        for (int v = 1; v <= versesEach; ++v)
            verses.append(
                {s, v, QStringLiteral("arabic %1:%2").arg(s).arg(v),
                 v == versesEach ? QString() : QStringLiteral("english %1:%2").arg(s).arg(v),
                 QStringLiteral("search %1:%2").arg(s).arg(v), QString()});
    return verses;
}

void FixtureDatabase::write(const QString &path, const QList<Verse> &verses,
                            const QStringList &extraSql)
{
    QFile::remove(path);
    SqliteConnection db = openFile(path);
    run(db, TextSchema::createTables(TextSchema::ReadTables) +
                TextSchema::createIndexes(TextSchema::ReadTables) + "BEGIN;");
    int id = 0;
    for (const Verse &v : verses) {
        ++id;
        run(db, QStringLiteral("INSERT INTO num VALUES (%1, %2, %3, %4);")
                    .arg(id)
                    .arg(v.chapter)
                    .arg(v.vers)
                    .arg(literal(QStringLiteral("sura %1").arg(v.chapter)))
                    .toUtf8());
        run(db, QStringLiteral("INSERT INTO main (id1, Arabic, English, search1, sub) "
                               "VALUES (%1, %2, %3, %4, %5);")
                    .arg(id)
                    .arg(literal(v.arabic), literal(v.english), literal(v.search1), literal(v.sub))
                    .toUtf8());
    }
    for (const QString &sql : extraSql)
        run(db, sql.toUtf8());
    run(db, "COMMIT;");
}

void FixtureDatabase::exec(const QString &path, const QString &sql)
{
    SqliteConnection db = openFile(path);
    run(db, sql.toUtf8());
}
