#include "data/Connection.h"
#include "data/LikeMatcher.h"
#include "data/SqliteConnection.h"
#include "data/SqliteStatement.h"
#include "platform/Error.h"
#include "support/FixtureDatabase.h"

#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

namespace {

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Error &e) {
        return e.message();
    }
    return QStringLiteral("no error");
}

// Left running on every connection opened while the hook below is installed.
sqlite3_stmt *g_running = nullptr;

// An automatic extension that leaves a statement stepping on the new connection: SQLite then
// refuses to replace any function, LIKE included.
int leaveAStatementRunning(sqlite3 *db, const char **, const sqlite3_api_routines *)
{
    if (sqlite3_prepare_v2(db, "SELECT 1 UNION ALL SELECT 2", -1, &g_running, nullptr) == SQLITE_OK)
        sqlite3_step(g_running);
    // The step's "another row" would otherwise stand as the outcome of the open.
    return sqlite3_exec(db, "SELECT 1", nullptr, nullptr, nullptr);
}

} // namespace

class tst_SqliteHandles : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void failuresCarrySqlitesMessage()
    {
        SqliteConnection db;
        QCOMPARE(errorOf([&] {
                     db.open(m_dir.filePath(QStringLiteral("no/such/folder/x.db")).toUtf8(),
                             SQLITE_OPEN_READONLY);
                 }),
                 QStringLiteral("unable to open database file"));
        QVERIFY(!db.isOpen());

        db.open(":memory:", SQLITE_OPEN_READWRITE);
        db.exec("CREATE TABLE t (a INTEGER NOT NULL)");
        QCOMPARE(errorOf([&] { db.exec("INSERT INTO t VALUES (NULL)"); }),
                 QStringLiteral("NOT NULL constraint failed: t.a"));
        QCOMPARE(errorOf([&] { SqliteStatement(db.handle(), "SELECT nope FROM t"); }),
                 QStringLiteral("no such column: nope"));

        SqliteStatement insert(db.handle(), "INSERT INTO t VALUES (?)");
        QCOMPARE(errorOf([&] { insert.bind(2, qint64(1)); }),
                 QStringLiteral("column index out of range"));
        insert.bindNull(1);
        QCOMPARE(errorOf([&] { insert.step(); }),
                 QStringLiteral("NOT NULL constraint failed: t.a"));
        // Binding before the failed statement is reset is a misuse, reported as such.
        QCOMPARE(errorOf([&] { insert.bind(1, qint64(7)); }),
                 QStringLiteral("bad parameter or other API misuse"));
        QCOMPARE(errorOf([&] { insert.reset(); }),
                 QStringLiteral("NOT NULL constraint failed: t.a")); // the failed step's error
        insert.bind(1, qint64(7));
        QVERIFY(!insert.step());

        SqliteStatement none(db.handle(), "  -- nothing\n");
        QVERIFY(!none);
        SqliteStatement select(db.handle(), "SELECT a, 'ی' AS b FROM t");
        QVERIFY(select.step());
        QCOMPARE(select.columnName(1), QStringLiteral("b"));
        QCOMPARE(select.columnText(0), QStringLiteral("7"));
        QCOMPARE(select.columnText(1), QStringLiteral("ی"));
        QVERIFY(!select.step());

        // A connection moved on is closed once, by its last owner.
        SqliteConnection moved = std::move(db);
        QVERIFY(!db.isOpen());
        QVERIFY(moved.isOpen());
        QCOMPARE(errorOf([&] { db.exec("SELECT 1"); }), QStringLiteral("The database is not open"));
    }

    // The folding LIKE is refused while a statement runs on the connection: the refusal is
    // reported, never passed over for SQLite's ASCII-only LIKE.
    void likeThatCannotBeInstalledIsAnError()
    {
        SqliteConnection db;
        db.open(":memory:", SQLITE_OPEN_READWRITE);
        {
            SqliteStatement running(db.handle(), "SELECT 1 UNION ALL SELECT 2");
            QVERIFY(running.step());
            QCOMPARE(errorOf([&] { LikeMatcher::install(db.handle()); }),
                     QStringLiteral("the letter-folding LIKE could not be installed: unable to "
                                    "delete/modify user-function due to active statements"));
        }
        LikeMatcher::install(db.handle());
        SqliteStatement like(db.handle(), "SELECT 'كتاب' LIKE 'کتاب'");
        QVERIFY(like.step());
        QCOMPARE(like.columnText(0), QStringLiteral("1"));
    }

    void openingFailsWhenLikeCannotBeInstalled()
    {
        const QString path = m_dir.filePath(QStringLiteral("1.db"));
        FixtureDatabase::write(path, {{1, 1, QStringLiteral("a"), QStringLiteral("b"),
                                       QStringLiteral("c"), QString()}});
        const auto hook = reinterpret_cast<void (*)()>(leaveAStatementRunning);
        QCOMPARE(sqlite3_auto_extension(hook), SQLITE_OK);
        Connection connection;
        connection.setFileName(path);
        const QString error = errorOf([&] { connection.open(); });
        sqlite3_cancel_auto_extension(hook);
        sqlite3_finalize(g_running);
        QCOMPARE(error, QStringLiteral("Cannot open '%1': the letter-folding LIKE could not be "
                                       "installed: unable to delete/modify user-function due "
                                       "to active statements")
                            .arg(path));
        QVERIFY(!connection.isOpen());

        connection.open();
        QVERIFY(connection.isOpen());
    }
};

QTEST_MAIN(tst_SqliteHandles)
#include "tst_sqlitehandles.moc"
