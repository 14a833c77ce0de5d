#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/DataSource.h"
#include "platform/Error.h"
#include "support/FixtureDatabase.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#define QVERIFY_ERROR(expression, text)                                                            \
    do {                                                                                           \
        try {                                                                                      \
            expression;                                                                            \
            QFAIL("no error raised by " #expression);                                              \
        } catch (const Error &e) {                                                                 \
            QCOMPARE(e.message(), QString(text));                                                  \
        }                                                                                          \
    } while (false)

class tst_DataSet : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Connection m_connection;

private slots:
    void initTestCase()
    {
        const QString path = m_dir.filePath(QStringLiteral("1.db"));
        FixtureDatabase::write(path, FixtureDatabase::numbered(3, 4));
        m_connection.setFileName(path);
        m_connection.open();
    }

    void openMovesAndReads()
    {
        DataSet set(&m_connection);
        set.rebuild({QStringLiteral("SELECT * "),
                     QStringLiteral("From num left join main on num.id=main.id1"),
                     QStringLiteral("WHERE (chapter = 2) ")});
        QCOMPARE(set.statement(), QStringLiteral("SELECT * \nFrom num left join main on "
                                                 "num.id=main.id1\nWHERE (chapter = 2) "));
        QVERIFY(set.isActive());
        QCOMPARE(set.recordCount(), 4);
        QCOMPARE(set.currentRow(), 0);
        QCOMPARE(set.fieldText(QStringLiteral("vers")), QStringLiteral("1"));
        // Column names match without regard to case.
        QCOMPARE(set.fieldText(QStringLiteral("ARABIC")), QStringLiteral("arabic 2:1"));

        QSignalSpy moved(&set, &DataSet::currentChanged);
        set.prior(); // at the first row: nothing happens
        QCOMPARE(set.currentRow(), 0);
        set.next();
        set.next();
        set.next();
        set.next(); // at the last row: nothing happens
        QCOMPARE(set.currentRow(), 3);
        QCOMPARE(moved.count(), 3);
        QCOMPARE(set.fieldText(QStringLiteral("vers")), QStringLiteral("4"));
        QCOMPARE(set.fieldText(QStringLiteral("English")), QString()); // NULL reads as empty

        set.gotoBookmark(1);
        QCOMPARE(set.fieldText(QStringLiteral("vers")), QStringLiteral("2"));
        QCOMPARE(set.currentRow(), 1);
        QVERIFY_ERROR(set.gotoBookmark(99), "Record not found");
        QVERIFY_ERROR(set.fieldText(QStringLiteral("nope")), "Field 'nope' not found");
    }

    void closedSetRefusesOperations()
    {
        DataSet set(&m_connection);
        const QString closed = QStringLiteral("Cannot perform this operation on a closed dataset");
        QVERIFY_ERROR(set.recordCount(), closed);
        QVERIFY_ERROR(set.next(), closed);
        QVERIFY_ERROR(set.prior(), closed);
        QVERIFY_ERROR(set.fieldText(QStringLiteral("vers")), closed);
        QVERIFY_ERROR(set.gotoBookmark(0), closed);
        QVERIFY_ERROR(set.requiredField(QStringLiteral("vers")), "Field 'vers' not found");
        QVERIFY(set.isEmpty());
    }

    void changingTheStatementClosesTheSet()
    {
        DataSet set(&m_connection);
        set.rebuild({QStringLiteral("SELECT * FROM num")});
        QVERIFY(set.isActive());
        QSignalSpy state(&set, &DataSet::stateChanged);
        set.addSql(QStringLiteral("WHERE chapter = 3"));
        QVERIFY(!set.isActive());
        QCOMPARE(state.count(), 1);
        set.open();
        QCOMPARE(set.recordCount(), 4);
    }

    // A deferred opening reads the first row only; whatever needs more reads the rest, once,
    // and the set then holds what an opening reads, with no state change seen by its views.
    void deferredOpeningHoldsTheSameSnapshot()
    {
        const QStringList verses = {QStringLiteral("SELECT * "),
                                    QStringLiteral("From num left join main on num.id=main.id1")};
        DataSet whole(&m_connection);
        whole.rebuild(verses);

        using Need = std::function<void(DataSet &)>;
        const QList<QPair<const char *, Need>> needs = {
            {"moving on", [](DataSet &set) { set.next(); }},
            {"a bookmark", [](DataSet &set) { set.gotoBookmark(11); }},
            {"a column replaced",
             [](DataSet &set) {
                 set.replaceColumn(0, [&set](int row) { return set.text(row, 0).toUtf8(); });
             }},
            {"the idle step", [](DataSet &set) { set.fetchAll(); }},
        };
        for (const auto &[what, need] : needs) {
            DataSet set(&m_connection);
            set.setSql(verses);
            set.openDeferred();
            QVERIFY2(set.isActive() && !set.isFetched(), what);
            QCOMPARE(set.currentRow(), 0);
            QCOMPARE(set.fieldText(QStringLiteral("Arabic")), QStringLiteral("arabic 1:1"));
            QVERIFY(!set.isEmpty());
            QCOMPARE(set.text(0, 1), whole.text(0, 1));
            // The const accessors read what is held, and nothing past it.
            QCOMPARE(set.recordCount(), 1);
            QCOMPARE(set.text(11, 0), QString());
            QCOMPARE(set.text(0, 99), QString());
            QCOMPARE(set.text(-1, 0), QString());
            QVERIFY2(!set.isFetched(), what);

            QSignalSpy changing(&set, &DataSet::aboutToChangeState);
            QSignalSpy appending(&set, &DataSet::aboutToAppendRows);
            need(set);
            QVERIFY2(set.isFetched(), what);
            QCOMPARE(changing.count(), QByteArrayView(what) == "a column replaced" ? 1 : 0);
            QCOMPARE(appending.count(), 1);
            QCOMPARE(appending.first(), (QVariantList{1, whole.recordCount() - 1}));
            QCOMPARE(set.recordCount(), whole.recordCount());
            for (int row = 0; row < whole.recordCount(); ++row) {
                for (int column = 0; column < 12; ++column)
                    QCOMPARE(set.text(row, column), whole.text(row, column));
            }
            set.fetchAll(); // nothing left: nothing happens
            QCOMPARE(set.recordCount(), whole.recordCount());
        }

        // A statement without rows has nothing left to read.
        DataSet none(&m_connection);
        none.setSql({QStringLiteral("SELECT * FROM num WHERE chapter = 99")});
        none.openDeferred();
        QVERIFY(none.isActive() && none.isFetched() && none.isEmpty());
        QCOMPARE(none.recordCount(), 0);
    }

    // An error while the rest is read closes the set, views told, and is raised by what needed
    // the rows; a set closed while reading lets go of its statement.
    void deferredReadingThatFailsClosesTheSet()
    {
        const QStringList failing = {
            QStringLiteral("SELECT id, CASE WHEN id < 3 THEN id ELSE abs(-9223372036854775808) "
                           "END AS v FROM num ORDER BY id")};
        DataSet set(&m_connection);
        set.setSql(failing);
        QVERIFY_ERROR(set.open(), "integer overflow");
        QVERIFY(!set.isActive());

        set.openDeferred();
        QVERIFY(set.isActive());
        QCOMPARE(set.fieldText(QStringLiteral("v")), QStringLiteral("1"));
        QSignalSpy state(&set, &DataSet::stateChanged);
        QCOMPARE(set.recordCount(), 1); // reads nothing, raises nothing
        QVERIFY_ERROR(set.next(), "integer overflow");
        QVERIFY(!set.isActive());
        QCOMPARE(state.count(), 1);
        QVERIFY_ERROR(set.fieldText(QStringLiteral("v")),
                      "Cannot perform this operation on a closed dataset");
        set.openDeferred();
        QVERIFY_ERROR(set.fetchAll(), "integer overflow");
        QVERIFY(!set.isActive());

        // The running statement holds the file for reading; closing the set ends it, and a
        // writer gets in.
        set.setSql({QStringLiteral("SELECT * FROM num")});
        set.openDeferred();
        QVERIFY(!set.isFetched());
        set.close();
        FixtureDatabase::exec(m_connection.fileName(), QStringLiteral("CREATE TABLE x (a)"));
        FixtureDatabase::exec(m_connection.fileName(), QStringLiteral("DROP TABLE x"));

        // At the program's end the connection goes before the sets: one still reading lets go
        // of its statement after it (the sanitizer build watches this).
        auto connection = std::make_unique<Connection>();
        connection->setFileName(m_connection.fileName());
        auto reading = std::make_unique<DataSet>(connection.get());
        reading->setSql({QStringLiteral("SELECT * FROM num")});
        reading->openDeferred();
        connection.reset();
        reading.reset();
        FixtureDatabase::exec(m_connection.fileName(), QStringLiteral("CREATE TABLE x (a)"));
        FixtureDatabase::exec(m_connection.fileName(), QStringLiteral("DROP TABLE x"));
    }

    // With a listener to its first row, an opening reads the other rows on a thread of its own
    // while the listener runs: the snapshot is the one a plain opening holds, and an error on
    // either side closes the set and is raised.
    void firstRowReadBesideTheRest()
    {
        const QStringList verses = {QStringLiteral("SELECT * "),
                                    QStringLiteral("From num left join main on num.id=main.id1")};
        DataSet whole(&m_connection);
        whole.rebuild(verses);

        DataSet set(&m_connection);
        DataSource source;
        source.setDataSet(&set);
        QList<QStringList> seen;
        std::function<void()> during;
        connect(&source, &DataSource::firstRowRead, this,
                [&](const QStringList &fields, const QStringList &values) {
                    QCOMPARE(fields.size(), values.size());
                    QVERIFY(!set.isActive()); // the rows arrive with stateChanged
                    seen << values;
                    if (during)
                        during();
                });
        for (int pass = 0; pass < 3; ++pass) {
            set.rebuild(verses);
            QCOMPARE(seen.size(), pass + 1);
            QCOMPARE(set.recordCount(), whole.recordCount());
            for (int column = 0; column < 12; ++column)
                QCOMPARE(seen.last().value(column), whole.text(0, column));
            for (int row = 0; row < whole.recordCount(); ++row) {
                for (int column = 0; column < 12; ++column)
                    QCOMPARE(set.text(row, column), whole.text(row, column));
            }
        }

        // No row, nothing to hear of; one row, nothing left to read beside it.
        set.rebuild({QStringLiteral("SELECT * FROM num WHERE chapter = 99")});
        QCOMPARE(seen.size(), 3);
        QVERIFY(set.isActive() && set.isEmpty());
        set.rebuild({QStringLiteral("SELECT id FROM num WHERE id = 5")});
        QCOMPARE(seen.size(), 4);
        QCOMPARE(set.recordCount(), 1);
        QCOMPARE(set.text(0, 0), QStringLiteral("5"));

        // The rest fails while the listener runs: raised once both are done.
        const QStringList failing = {
            QStringLiteral("SELECT id, CASE WHEN id < 3 THEN id ELSE abs(-9223372036854775808) "
                           "END AS v FROM num ORDER BY id")};
        QVERIFY_ERROR(set.rebuild(failing), "integer overflow");
        QVERIFY(!set.isActive());
        QCOMPARE(seen.size(), 5);

        // The listener fails while the rest is read: its error is raised, the set closed.
        during = [] { throw Error(QStringLiteral("listener")); };
        QVERIFY_ERROR(set.rebuild(verses), "listener");
        QVERIFY(!set.isActive());
        during = nullptr;
        set.rebuild(verses);
        QCOMPARE(set.recordCount(), whole.recordCount());
        QCOMPARE(set.text(whole.recordCount() - 1, 1), whole.text(whole.recordCount() - 1, 1));
    }

    void emptyResultIsOpenAndEmpty()
    {
        DataSet set(&m_connection);
        set.rebuild({QStringLiteral("SELECT * FROM num WHERE chapter = 99")});
        QVERIFY(set.isActive());
        QCOMPARE(set.recordCount(), 0);
        QCOMPARE(set.currentRow(), -1);
        set.next();
        set.prior();
        QCOMPARE(set.fieldText(QStringLiteral("vers")), QString());
    }

    void rejectedStatementLeavesTheSetClosed()
    {
        DataSet set(&m_connection);
        set.rebuild({QStringLiteral("SELECT * FROM num")});
        try {
            set.rebuild({QStringLiteral("SELECT * FROM num WHERE (vers = )")});
            QFAIL("the statement was accepted");
        } catch (const Error &e) {
            QCOMPARE(e.message(), QStringLiteral("near \")\": syntax error"));
        }
        QVERIFY(!set.isActive());
        QVERIFY_ERROR(set.rebuild({QStringLiteral("SELECT * FROM num; DELETE FROM num")}),
                      "Characters found after end of SQL statement");
        QVERIFY(!set.isActive());
        QVERIFY_ERROR(set.rebuild({QStringLiteral("SELECT nope FROM num")}),
                      "no such column: nope");
    }

    // A rebuild of an open set closes it once and opens it once, whatever the number of lines.
    void rebuildClosesAndOpensOnce()
    {
        DataSet set(&m_connection);
        set.rebuild({QStringLiteral("SELECT * FROM num WHERE chapter = 1")});
        QSignalSpy state(&set, &DataSet::stateChanged);
        const QStringList lines = {QStringLiteral("SELECT * FROM num"),
                                   QStringLiteral("WHERE chapter = 3"), QStringLiteral("AND 1")};
        set.rebuild(lines);
        QCOMPARE(state.count(), 2);
        QCOMPARE(set.sql(), lines);
        QCOMPARE(set.recordCount(), 4);

        DataSource source;
        QVERIFY_ERROR(source.boundSet(), "Cannot perform this operation on a closed dataset");
        source.setDataSet(&set);
        QCOMPARE(source.boundSet(), &set);
    }

    void twoSetsOnOneConnection()
    {
        DataSet verses(&m_connection), results(&m_connection);
        verses.rebuild({QStringLiteral("SELECT * FROM num WHERE chapter = 2")});
        results.rebuild({QStringLiteral("SELECT * FROM num left join main on num.id=main.id1"),
                         QStringLiteral("WHERE ( search1 like '%:3%') ")});
        verses.next();
        QCOMPARE(results.recordCount(), 3);
        QCOMPARE(verses.recordCount(), 4);
        QCOMPARE(verses.fieldText(QStringLiteral("vers")), QStringLiteral("2"));
        QCOMPARE(results.fieldText(QStringLiteral("chapter")), QStringLiteral("1"));
    }

    // Every kind of cell reads back as it was stored, in a snapshot large enough that its
    // storage grows many times while the rows come in, and after a close and a reopen.
    void cellsOfEveryKindReadBack()
    {
        DataSet set(&m_connection);
        const QStringList lines = {
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
                           "i < 20000)"),
            QStringLiteral("SELECT i, -9007199254740993 * (i % 2), i + 0.5, 2.0, NULL, '', "
                           "'بسم الله ' || i, char(97, 0, 98), x'00ff', "
                           "printf('%.*c', 1 + i % 3000, 'ی') FROM n")};
        for (int pass = 0; pass < 2; ++pass) {
            set.rebuild(lines);
            QCOMPARE(set.recordCount(), 20000);
            for (const int row : {0, 1, 2999, 19999}) {
                const int i = row + 1;
                QCOMPARE(set.text(row, 0), QString::number(i));
                QCOMPARE(set.text(row, 1),
                         i % 2 ? QStringLiteral("-9007199254740993") : QStringLiteral("0"));
                QCOMPARE(set.text(row, 2), QString::number(i + 0.5));
                QCOMPARE(set.text(row, 3), QStringLiteral("2"));
                QVERIFY(set.text(row, 4).isNull());
                QVERIFY(set.text(row, 5).isEmpty());
                QCOMPARE(set.text(row, 6), QStringLiteral("بسم الله %1").arg(i));
                QCOMPARE(set.text(row, 7), QString(QStringLiteral("a") + QChar(0) + u'b'));
                QCOMPARE(set.text(row, 8).size(), 2);
                QCOMPARE(set.text(row, 9), QString(1 + i % 3000, QChar(0x06CC)));
            }
            set.close();
        }
        // A smaller snapshot in the memory the larger one left.
        set.rebuild({QStringLiteral("SELECT 'یک', NULL, 7 UNION ALL SELECT '', 'دو', 8")});
        QCOMPARE(set.recordCount(), 2);
        QCOMPARE(set.text(0, 0), QStringLiteral("یک"));
        QVERIFY(set.text(0, 1).isNull());
        QCOMPARE(set.text(1, 1), QStringLiteral("دو"));
        QCOMPARE(set.text(1, 2), QStringLiteral("8"));
    }
};

QTEST_GUILESS_MAIN(tst_DataSet)
#include "tst_dataset.moc"
