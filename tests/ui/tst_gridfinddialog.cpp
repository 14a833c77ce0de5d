#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/DataSource.h"
#include "doubles/MemoryDialogs.h"
#include "support/FixtureDatabase.h"
#include "support/Typing.h"
#include "ui/main/DataGrid.h"
#include "ui/main/GridFindDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString NothingFound = QStringLiteral("چيزي يافت نشد ");

} // namespace

// The data grids' find dialog as a reader uses it: Ctrl+F on the grid, a text typed on a Persian
// keyboard, Enter or the find button pressed again and again.
class tst_GridFindDialog : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<DataSource> m_source;
    std::unique_ptr<DataSet> m_set;
    std::unique_ptr<DataGrid> m_grid;
    GridFindDialog *m_find = nullptr;

    // Finds the typed text from the current row as the find button does; the current row
    // after it and the messages shown.
    QStringList find(const QString &typed)
    {
        MemoryDialogs dialogs;
        m_find->FindText->setText(typed);
        m_find->FindNext->click();
        return dialogs.texts();
    }
    int current() const
    {
        // The grid and the set it shows agree on the current row.
        const int row = m_grid->currentIndex().row();
        return row == m_set->currentRow() ? row : -100 - m_set->currentRow();
    }

private slots:
    void initTestCase()
    {
        // The stored texts are written as the sources write them: Arabic yeh and kaf, marks,
        // the zero-width non-joiner, Persian digits.
        const QString path = m_dir.filePath(QStringLiteral("find.db"));
        FixtureDatabase::write(
            path, {{1, 1, QStringLiteral("بِسْمِ اللَّهِ"), QStringLiteral("به نام خدا"), {}, {}},
                   {1, 2, QStringLiteral("ذَلِكَ الْكِتَابُ"), QStringLiteral("آن كتاب آسماني"), {}, {}},
                   {1, 3, QStringLiteral("الْحَمْدُ"), QStringLiteral("ستايش ۲ بار"), {}, {}},
                   {1, 4, QStringLiteral("كتاب"), QStringLiteral("نامه‌اي"), {}, {}}});
        m_connection = std::make_unique<Connection>();
        m_connection->setFileName(path);
        m_source = std::make_unique<DataSource>();
        m_set = std::make_unique<DataSet>(m_connection.get());
        m_set->addSql(QStringLiteral("SELECT * FROM main ORDER BY id1"));
        m_source->setDataSet(m_set.get());
        m_set->open();
        m_grid = std::make_unique<DataGrid>(
            m_source.get(), QStringList{QStringLiteral("Arabic"), QStringLiteral("English")},
            QStringList{QStringLiteral("متن"), QStringLiteral("ترجمه")});
        m_grid->resize(500, 300);
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowActive(m_grid.get()));
    }
    void init()
    {
        m_set->gotoBookmark(0);
        QCOMPARE(current(), 0);
    }
    void cleanupTestCase()
    {
        m_grid.reset();
        m_source.reset();
        m_set.reset();
    }

    void ctrlFOpensTheDialogOnce()
    {
        m_grid->setFocus();
        QTest::keyClick(m_grid.get(), Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(m_grid->findDialog()->isVisible());
        m_find = m_grid->findDialog();
        QCOMPARE(m_find->parentWidget(), m_grid.get());
        QCOMPARE(m_find->layoutDirection(), Qt::RightToLeft);
        QTest::keyClick(m_grid.get(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(m_grid->findDialog(), m_find);
    }

    // Typed with Persian kaf and yeh and without marks, found in text with Arabic letters and
    // marks; each press goes on from the current row and goes round past the last.
    void findsForwardsAndGoesRound()
    {
        QVERIFY(m_find);
        const QString book = QStringLiteral("کتاب");
        QCOMPARE(find(book), QStringList());
        QCOMPARE(current(), 1);
        QCOMPARE(find(book), QStringList());
        QCOMPARE(current(), 3);
        QCOMPARE(find(book), QStringList());
        QCOMPARE(current(), 1);
        QVERIFY(m_grid->selectionModel()->isRowSelected(1, {}));
        QVERIFY(!m_grid->selectionModel()->isRowSelected(3, {}));
    }

    // A text that stands only above the current row is found by going round; the current row
    // itself is found last.
    void findsAboveTheCurrentRowByGoingRound()
    {
        QVERIFY(m_find);
        m_set->gotoBookmark(3);
        QCOMPARE(find(QStringLiteral("بسم الله")), QStringList());
        QCOMPARE(current(), 0);
        m_set->gotoBookmark(2);
        QCOMPARE(find(QStringLiteral("الحمد")), QStringList());
        QCOMPARE(current(), 2);
    }

    void foldsWhatAPersianKeyboardTypes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("row");
        QTest::newRow("alef with madda, Persian yeh") << QStringLiteral("اسمانی") << 1;
        QTest::newRow("Persian digit in the text, Latin typed") << QStringLiteral("2 بار") << 2;
        QTest::newRow("Arabic-Indic digit typed") << QStringLiteral("٢") << 2;
        QTest::newRow("zero-width non-joiner left out") << QStringLiteral("نامهای") << 3;
        QTest::newRow("zero-width non-joiner typed") << QStringLiteral("نامه‌ای") << 3;
        QTest::newRow("marks pasted from the Arabic pane") << QStringLiteral("الْكِتَابُ") << 1;
    }
    void foldsWhatAPersianKeyboardTypes()
    {
        QVERIFY(m_find);
        QFETCH(QString, typed);
        QFETCH(int, row);
        QCOMPARE(find(typed), QStringList());
        QCOMPARE(current(), row);
    }

    void notFound()
    {
        QVERIFY(m_find);
        m_set->gotoBookmark(2);
        QCOMPARE(find(QStringLiteral("زمین")), QStringList(NothingFound));
        QCOMPARE(current(), 2);
        // An empty box finds nothing and says nothing.
        QCOMPARE(find(QString()), QStringList());
        QCOMPARE(current(), 2);
    }

    void enterInTheBoxFindsTheNext()
    {
        QVERIFY(m_find);
        MemoryDialogs dialogs;
        m_find->show();
        m_find->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_find));
        m_find->FindText->setFocus();
        m_find->FindText->clear();
        typeText(m_find->FindText, QStringLiteral("کتاب"));
        QTest::keyClick(m_find->FindText, Qt::Key_Return);
        QCOMPARE(current(), 1);
        QTest::keyClick(m_find->FindText, Qt::Key_Enter);
        QCOMPARE(current(), 3);
        QVERIFY(m_find->isVisible());
        QCOMPARE(dialogs.texts(), QStringList());
    }
};

QTEST_MAIN(tst_GridFindDialog)
#include "tst_gridfinddialog.moc"
