#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/TDataModule2.h"
#include "platform/Error.h"
#include "support/FixtureDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

class tst_Connection : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString openError(const QString &path)
    {
        Connection connection;
        connection.setFileName(path);
        try {
            connection.open();
        } catch (const Error &e) {
            if (connection.isOpen())
                return QStringLiteral("a failed open left the connection open");
            return e.message();
        }
        return QString();
    }

    QString fixture(const QString &name)
    {
        const QString path = m_dir.filePath(name);
        FixtureDatabase::write(path, {{1, 1, QStringLiteral("a"), QStringLiteral("b"),
                                       QStringLiteral("c"), QString()}});
        return path;
    }

private slots:
    void opensRelativeToTheWorkingDirectory()
    {
        fixture(QStringLiteral("1.db"));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        TDataModule2 module;
        module.DataModuleCreate();
        QDir::setCurrent(previous);
        QVERIFY(module.ADOConnection1->isOpen());
        QCOMPARE(module.ADOQuery1->recordCount(), 1);
    }

    void refusesWhatIsNotATextDatabase()
    {
        const QString missing = m_dir.filePath(QStringLiteral("missing.db"));
        QCOMPARE(openError(missing), QStringLiteral("Could not find file '%1'").arg(missing));

        const QString empty = m_dir.filePath(QStringLiteral("empty.db"));
        QFile(empty).open(QIODevice::WriteOnly);
        QCOMPARE(openError(empty),
                 QStringLiteral("'%1' is not a text database: table 'num' is missing").arg(empty));

        const QString text = m_dir.filePath(QStringLiteral("text.db"));
        QFile file(text);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(4096, 'x'));
        file.close();
        QCOMPARE(openError(text),
                 QStringLiteral("'%1' is not a text database: file is not a database").arg(text));

        const QString noTable = fixture(QStringLiteral("notype.db"));
        FixtureDatabase::exec(noTable, QStringLiteral("DROP TABLE Type"));
        QCOMPARE(
            openError(noTable),
            QStringLiteral("'%1' is not a text database: table 'Type' is missing").arg(noTable));

        const QString noColumn = fixture(QStringLiteral("nocolumn.db"));
        FixtureDatabase::exec(noColumn, QStringLiteral("ALTER TABLE main DROP COLUMN search1"));
        QCOMPARE(openError(noColumn),
                 QStringLiteral("'%1' is not a text database: column 'main.search1' is missing")
                     .arg(noColumn));

        QCOMPARE(openError(m_dir.path()), QStringLiteral("'%1' is not a file").arg(m_dir.path()));
    }

    void refusesAnUnreadableFile()
    {
        if (geteuid() == 0)
            QSKIP("file permissions do not bind root");
        const QString path = fixture(QStringLiteral("locked.db"));
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        QCOMPARE(openError(path), QStringLiteral("Cannot open '%1': permission denied").arg(path));
    }

    void neverWritesTheFile()
    {
        const QString path = fixture(QStringLiteral("readonly.db"));
        Connection connection;
        connection.setFileName(path);
        connection.open();
        DataSet set(&connection);
        set.addSql(QStringLiteral("DELETE FROM num"));
        try {
            set.open();
            QFAIL("a write was accepted");
        } catch (const Error &e) {
            QCOMPARE(e.message(), QStringLiteral("attempt to write a readonly database"));
        }
    }
};

QTEST_MAIN(tst_Connection)
#include "tst_connection.moc"
