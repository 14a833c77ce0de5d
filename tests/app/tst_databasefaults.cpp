#include "app/Program.h"
#include "data/DataSet.h"
#include "data/SqliteConnection.h"
#include "data/SqliteStatement.h"
#include "data/TDataModule2.h"
#include "doubles/MemoryDialogs.h"
#include "platform/ConfigLocation.h"
#include "settings/TranslationSetting.h"
#include "support/FixtureDatabase.h"
#include "ui/main/Tmain.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

// Start-up against a text database that is there but unusable: the fault is reported once,
// naming the file, and the program ends before any window is shown, leaving the file as it
// was. (Damage among the verse rows past the first is found just after the launcher shows,
// and damage among a translation's rows when it is chosen: the last tests.)
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
        QCOMPARE(dialogs.texts(), QStringList{expected});
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

    // A copy of the real database in dir whose page holding the text that `sql` selects is
    // overwritten.
    static QString damagedCopy(const QTemporaryDir &dir, const QByteArray &sql)
    {
        const QString path = dir.filePath(QStringLiteral("1.db"));
        QByteArray bytes = contents(QStringLiteral(KEVRAN_TEST_DATABASE));
        int pageSize = 0;
        QByteArray text;
        {
            SqliteConnection db;
            db.open(QByteArray(KEVRAN_TEST_DATABASE), SQLITE_OPEN_READONLY);
            SqliteStatement size(db.handle(), "PRAGMA page_size");
            size.step();
            pageSize = size.columnText(0).toInt();
            SqliteStatement select(db.handle(), sql);
            select.step();
            text = select.columnText(0).toUtf8();
        }
        const qsizetype at = text.isEmpty() ? -1 : bytes.indexOf(text);
        if (pageSize <= 0 || at <= 0)
            return QString();
        const qsizetype page = at / pageSize * pageSize;
        bytes.replace(page, pageSize, QByteArray(pageSize, '\xff'));
        writeFile(path, bytes);
        return path;
    }

    // Start-up reads the first verse only; damage among the other verse rows is found when the
    // first idle step after the launcher's paint reads them, reported there naming the file,
    // and the program is to end as above.
    void damagedVerseRowsEndTheProgramAfterTheLauncher()
    {
        QTemporaryDir dir;
        const QString path = damagedCopy(dir, "SELECT Arabic FROM main WHERE id1 = 3000");
        QVERIFY(!path.isEmpty());

        MemoryDialogs dialogs;
        QDir::setCurrent(dir.path());
        QVERIFY(Program::createWindows());
        QVERIFY(dialogs.texts().isEmpty());
        QVERIFY(!Program::readVerseRows());
        QCOMPARE(
            dialogs.texts(),
            QStringList(
                QStringLiteral("'%1' is damaged: database disk image is malformed.").arg(path)));
        QCOMPARE(dialogs.shown().first().kind, Dialogs::Kind::Error);
        QVERIFY(!kevran::DataModule2->ADOQuery1->isActive());
    }

    // A translation whose rows are damaged: the switch is reported naming the file, and the
    // translation in use before stays in use, shown by the chooser, and stored as before.
    void damagedTranslationKeepsTheOneInUse()
    {
        QTemporaryDir dir;
        const QString path = damagedCopy(
            dir, "SELECT Text FROM TranslationText WHERE Code = 'fa.ayati' AND id1 = 3000");
        QVERIFY(!path.isEmpty());
        const QString stored = ConfigLocation::filePath(TranslationSetting::FileName);
        QFile::remove(stored);

        MemoryDialogs dialogs;
        QDir::setCurrent(dir.path());
        QVERIFY(Program::createWindows());
        QVERIFY(Program::readVerseRows());
        DataSet *verses = kevran::DataModule2->ADOQuery1;
        verses->gotoBookmark(2999);
        const QString before = verses->fieldText(QStringLiteral("English"));
        DisplaySettingsPage *page = kevran::main->TabSheet5.get();
        page->loadTranslations();
        QComboBox *box = page->TranslationBox;
        QCOMPARE(box->currentIndex(), 0);

        box->setCurrentIndex(box->findData(QStringLiteral("fa.ayati")));
        QCOMPARE(
            dialogs.texts(),
            QStringList(
                QStringLiteral("'%1' is damaged: database disk image is malformed.").arg(path)));
        QCOMPARE(box->currentIndex(), 0);
        QCOMPARE(verses->fieldText(QStringLiteral("English")), before);
        QCOMPARE(verses->currentRow(), 2999);
        QVERIFY(!QFile::exists(stored));

        // Another translation still switches.
        dialogs.clear();
        box->setCurrentIndex(box->findData(QStringLiteral("fa.ansarian")));
        QVERIFY(dialogs.texts().isEmpty());
        QVERIFY(verses->fieldText(QStringLiteral("English")) != before);
    }
};

QTEST_MAIN(tst_DatabaseFaults)
#include "tst_databasefaults.moc"
