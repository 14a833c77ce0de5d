#include "data/Connection.h"
#include "data/SqliteConnection.h"
#include "data/SqliteStatement.h"
#include "data/TextSchema.h"
#include "platform/Error.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

class tst_TextSchema : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    static QStringList rows(SqliteConnection &db, const QByteArray &sql, int column)
    {
        QStringList out;
        SqliteStatement stmt(db.handle(), sql);
        while (stmt.step())
            out.append(stmt.columnText(column));
        return out;
    }

    static QStringList definedColumns(const TextSchema::Table &table)
    {
        QStringList names;
        for (const auto &line : table.lines) {
            for (const TextSchema::Column &column : line)
                names.append(QLatin1String(column.name));
        }
        return names;
    }

    // A file of the tables the program reads, with one column left out of one table.
    QString fileWithout(const char *table, const QString &column)
    {
        const QString path = m_dir.filePath(QStringLiteral("%1-%2.db").arg(table, column));
        QFile::remove(path);
        SqliteConnection db;
        db.open(QFile::encodeName(path), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        db.exec(TextSchema::createTables(TextSchema::ReadTables));
        if (!column.isEmpty())
            db.exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2")
                        .arg(QLatin1String(table), column)
                        .toUtf8());
        return path;
    }

private slots:
    // The statements create every table with its columns in their order, and the indexes.
    void statementsMakeWhatIsDefined()
    {
        SqliteConnection db;
        db.open(":memory:", SQLITE_OPEN_READWRITE);
        db.exec(TextSchema::createTables() + TextSchema::createIndexes());
        QStringList tables;
        for (const TextSchema::Table *table : TextSchema::tables()) {
            tables.append(QLatin1String(table->name));
            QCOMPARE(rows(db, QByteArray("PRAGMA table_info(\"") + table->name + "\")", 1),
                     definedColumns(*table));
        }
        QCOMPARE(rows(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid", 0),
                 tables);
        QCOMPARE(rows(db,
                      "SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL "
                      "ORDER BY rowid",
                      0),
                 (QStringList{QStringLiteral("num_chapter_vers"), QStringLiteral("main_id1"),
                              QStringLiteral("main_code_id")}));
    }

    // The check at open wants exactly the tables the program reads: a file of those opens,
    // and a file missing any one of their columns is refused with that column's name.
    void checkAtOpenWantsEveryColumnRead()
    {
        Connection fine;
        fine.setFileName(fileWithout("main", QString()));
        fine.open();
        QVERIFY(fine.isOpen());

        int checked = 0;
        for (const TextSchema::Table *table : TextSchema::tables()) {
            if (!table->read)
                continue;
            for (const QString &column : definedColumns(*table)) {
                // A primary key cannot be dropped; the table going is checked elsewhere.
                if (column == QLatin1String("id") || column == QLatin1String("Type"))
                    continue;
                Connection connection;
                const QString path = fileWithout(table->name, column);
                connection.setFileName(path);
                try {
                    connection.open();
                    QFAIL(qPrintable(QStringLiteral("opened without %1").arg(column)));
                } catch (const Error &e) {
                    QCOMPARE(e.message(),
                             QStringLiteral("'%1' is not a text database: column '%2.%3' is "
                                            "missing")
                                 .arg(path, QLatin1String(table->name), column));
                }
                ++checked;
            }
        }
        QCOMPARE(checked, 16);
    }
};

QTEST_MAIN(tst_TextSchema)
#include "tst_textschema.moc"
