#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/DataSource.h"
#include "support/FixtureDatabase.h"
#include "ui/main/FieldBinding.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

// Labels and panes bound to a field of a data source show the current row's value.
class tst_FieldBinding : public QObject {
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

    void displaysFollowTheCurrentRow()
    {
        DataSet set(&m_connection);
        DataSource source;
        QLabel label;
        QPlainTextEdit pane;
        FieldBinding::bind(&label, &source, QStringLiteral("vers"));
        FieldBinding *paneBinding = FieldBinding::bind(&pane, &source, QStringLiteral("Arabic"));
        source.setDataSet(&set);
        QCOMPARE(label.text(), QString()); // closed

        set.rebuild({QStringLiteral("SELECT * FROM num left join main on num.id=main.id1"),
                     QStringLiteral("WHERE chapter = 3")});
        QCOMPARE(label.text(), QStringLiteral("1"));
        QCOMPARE(pane.toPlainText(), QStringLiteral("arabic 3:1"));
        set.next();
        QCOMPARE(label.text(), QStringLiteral("2"));
        QCOMPARE(pane.toPlainText(), QStringLiteral("arabic 3:2"));

        paneBinding->setField(QString()); // unbound: shows nothing
        QCOMPARE(pane.toPlainText(), QString());
        paneBinding->setField(QStringLiteral("search1"));
        QCOMPARE(pane.toPlainText(), QStringLiteral("search 3:2"));

        set.rebuild({QStringLiteral("SELECT * FROM num WHERE chapter = 42")});
        QCOMPARE(label.text(), QString()); // empty set
        set.close();
        QCOMPARE(label.text(), QString());
    }
};

QTEST_MAIN(tst_FieldBinding)
#include "tst_fieldbinding.moc"
