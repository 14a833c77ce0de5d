#include "app/Program.h"
#include "data/DataSet.h"
#include "data/SqliteConnection.h"
#include "data/SqliteStatement.h"
#include "data/TDataModule2.h"
#include "doubles/MemoryDialogs.h"
#include "support/FixtureDatabase.h"
#include "ui/main/Tmain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

// Start-up against a text database that is there but unusable: the main window's creation
// step reports the fault, then the data module does, and the program ends before any window
// is shown, leaving the file as it was. (Damage among the verse rows past the first is found
// just after the launcher shows: the last test.)
class tst_DatabaseFaults : public QObject {
    Q_OBJECT

    QString m_previousDir;

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static void writeFixture(const QString &path)
    {
        FixtureDatabase::write(path, {{1, 1, QStringLiteral("a"), QStringLiteral("b"),
                                       QStringLiteral("c"), QStringLiteral("tt")}});
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase() { m_previousDir = QDir::currentPath(); }
    void init() { Program::setUpApplication(*qApp); }
    void cleanup()
    {
        Program::destroyWindows();
        QDir::setCurrent(m_previousDir);
    }

    void startUpEnds_data()
    {
        QTest::addColumn<QString>("error");
        const QString notADatabase = QStringLiteral("'%1' is not a text database: %2.");
        QTest::newRow("empty file")
            << notADatabase.arg(QStringLiteral("%1"), QStringLiteral("table 'num' is missing"));
        QTest::newRow("not an SQLite file")
            << notADatabase.arg(QStringLiteral("%1"), QStringLiteral("file is not a database"));
        QTest::newRow("table missing")
            << notADatabase.arg(QStringLiteral("%1"), QStringLiteral("table 'num' is missing"));
        QTest::newRow("column missing") << notADatabase.arg(
            QStringLiteral("%1"), QStringLiteral("column 'main.Farsi' is missing"));
        QTest::newRow("truncated") << notADatabase.arg(
            QStringLiteral("%1"), QStringLiteral("database disk image is malformed"));
        QTest::newRow("a directory") << QStringLiteral("'%1' is not a file.");
        QTest::newRow("unreadable") << QStringLiteral("Cannot open '%1': permission denied.");
    }
    void startUpEnds()
    {
        QFETCH(QString, error);
        const QByteArray damage = QTest::currentDataTag();
        if (damage == "unreadable" && geteuid() == 0)
            QSKIP("file permissions do not bind root");

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("1.db"));
        if (damage == "empty file") {
            writeFile(path, QByteArray());
        } else if (damage == "not an SQLite file") {
            writeFile(path, "KEVRAN text\n" + QByteArray(4096, 'x'));
        } else if (damage == "table missing") {
            writeFixture(path);
            FixtureDatabase::exec(path, QStringLiteral("DROP TABLE num"));
        } else if (damage == "column missing") {
            writeFixture(path);
            FixtureDatabase::exec(path, QStringLiteral("ALTER TABLE main DROP COLUMN Farsi"));
        } else if (damage == "truncated") {
            // The schema is intact; the rows are cut off in the middle.
            const QByteArray whole = contents(QStringLiteral(KEVRAN_TEST_DATABASE));
            QVERIFY(whole.size() > 65536);
            writeFile(path, whole.left(whole.size() / 2));
        } else if (damage == "a directory") {
            QVERIFY(QDir().mkdir(path));
        } else if (damage == "unreadable") {
            writeFixture(path);
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        }
        const QByteArray before = contents(path);

        MemoryDialogs dialogs;
        QDir::setCurrent(dir.path());
        QVERIFY(!Program::createWindows());
        const QString expected = error.arg(path);
        QCOMPARE(dialogs.texts(), QStringList({expected, expected}));
        for (const MemoryDialogs::Shown &shown : dialogs.shown()) {
            QCOMPARE(shown.kind, Dialogs::Kind::Error);
            QCOMPARE(shown.caption, QStringLiteral("kevran"));
        }
        QVERIFY(!kevran::frm_main);
        QVERIFY(!kevran::main);
        QVERIFY(!kevran::DataModule2);
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
        QCOMPARE(contents(path), before);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    // Start-up reads the first verse only; damage among the other verse rows is found when the
    // first idle step after the launcher's paint reads them, reported there, and the program
    // is to end as above.
    void damagedVerseRowsEndTheProgramAfterTheLauncher()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("1.db"));
        QByteArray bytes = contents(QStringLiteral(KEVRAN_TEST_DATABASE));
        int pageSize = 0;
        QByteArray verse;
        {
            SqliteConnection db;
            db.open(QByteArray(KEVRAN_TEST_DATABASE), SQLITE_OPEN_READONLY);
            SqliteStatement size(db.handle(), "PRAGMA page_size");
            QVERIFY(size.step());
            pageSize = size.columnText(0).toInt();
            SqliteStatement arabic(db.handle(), "SELECT Arabic FROM main WHERE id1 = 3000");
            QVERIFY(arabic.step());
            verse = arabic.columnText(0).toUtf8();
        }
        const qsizetype at = bytes.indexOf(verse);
        QVERIFY(pageSize > 0 && at > 0);
        const qsizetype page = at / pageSize * pageSize;
        bytes.replace(page, pageSize, QByteArray(pageSize, '\xff'));
        writeFile(path, bytes);

        MemoryDialogs dialogs;
        QDir::setCurrent(dir.path());
        QVERIFY(Program::createWindows());
        QVERIFY(dialogs.texts().isEmpty());
        QVERIFY(!Program::readVerseRows());
        QCOMPARE(dialogs.texts(), QStringList(QStringLiteral("database disk image is malformed.")));
        QCOMPARE(dialogs.shown().first().kind, Dialogs::Kind::Error);
        QVERIFY(!kevran::DataModule2->ADOQuery1->isActive());
    }
};

QTEST_MAIN(tst_DatabaseFaults)
#include "tst_databasefaults.moc"
