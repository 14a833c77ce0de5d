#include "data/DataSet.h"
#include "doubles/MemoryDialogs.h"
#include "platform/Messages.h"
#include "support/FixtureDatabase.h"
#include "support/ProgramFixture.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

// The Nahj al-Balagha page over small databases made for each case.
class tst_NahjPage : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // Three sections: the second has no items; section 1 has an introduction.
    QString bookDatabase()
    {
        const QString path = m_dir.filePath(QStringLiteral("book.db"));
        FixtureDatabase::write(
            path, {{1, 1, QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), {}}},
            {QStringLiteral("INSERT INTO Type VALUES (1, 'Sermons'), (2, 'Empty'), (3, 'Sayings')"),
             QStringLiteral("INSERT INTO main (Code, ID, Name2, Top, arabic2, Farsi) VALUES"
                            " (1, 1, 'S1', 'first', 'arabic 1.1', 'farsi 1.1'),"
                            " (1, 2, 'S2', 'second', 'arabic 1.2', 'farsi 1.2'),"
                            " (1, 3, 'S3', 'third', 'arabic 1.3', 'farsi 1.3'),"
                            " (3, 1, 'H1', 'saying', 'arabic 3.1', 'farsi 3.1'),"
                            " (0, 1, 'Intro', '', '', 'introduction to sermons')")});
        return path;
    }

    static QTreeWidgetItem *node(NahjPage *page, int section, int item = -1)
    {
        QTreeWidgetItem *top = page->TreeView1->topLevelItem(section);
        return item < 0 ? top : top->child(item);
    }

    static void select(NahjPage *page, QTreeWidgetItem *item)
    {
        page->TreeView1->setCurrentItem(item);
        item->setSelected(true);
    }

private slots:
    void buildsTheTree()
    {
        ProgramFixture program(bookDatabase());
        QVERIFY(program.started());
        NahjPage *page = program.window()->TabSheet2.get();
        QTreeWidget *tree = page->TreeView1;
        QCOMPARE(tree->topLevelItemCount(), 3);
        QCOMPARE(node(page, 0)->text(0), QStringLiteral("Sermons"));
        QCOMPARE(node(page, 0)->childCount(), 3);
        QCOMPARE(node(page, 0, 1)->text(0), QStringLiteral("S2    second"));
        QCOMPARE(node(page, 1)->childCount(), 0);
        QCOMPARE(node(page, 2, 0)->text(0), QStringLiteral("H1    saying"));
        QCOMPARE(tree->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(tree->indentation(), 19);
        QVERIFY(!node(page, 0)->isExpanded());
        QVERIFY(tree->selectedItems().isEmpty());
        // The panes stay empty and the book set closed until the first lookup.
        QVERIFY(!program.window()->ADOQuery1->isActive());
        QCOMPARE(page->DBMemo4->toPlainText(), QString());
    }

    void treeItemsWithMissingFields()
    {
        // A title or top that is NULL reads as empty text; the verse rows of the same table
        // (no Code) belong to no section. Choosing such an item still shows the whole row.
        const QString path = m_dir.filePath(QStringLiteral("gaps.db"));
        FixtureDatabase::write(
            path, {{1, 1, QStringLiteral("verse"), {}, {}, {}}},
            {QStringLiteral("INSERT INTO Type VALUES (1, 'Sermons')"),
             QStringLiteral("INSERT INTO main (Code, ID, Name2, Top, arabic2, Farsi) VALUES"
                            " (1, 1, 'S1', NULL, 'arabic 1.1', 'farsi 1.1'),"
                            " (1, 2, NULL, 'top only', 'arabic 1.2', NULL)")});
        ProgramFixture program(path);
        QVERIFY(program.started());
        NahjPage *page = program.window()->TabSheet2.get();
        QCOMPARE(page->TreeView1->topLevelItemCount(), 1);
        QCOMPARE(node(page, 0)->childCount(), 2);
        QCOMPARE(node(page, 0, 0)->text(0), QStringLiteral("S1    "));
        QCOMPARE(node(page, 0, 1)->text(0), QStringLiteral("    top only"));
        QVERIFY(!program.window()->ADOQuery2->isActive());

        select(page, node(page, 0, 1));
        page->itemLookup();
        QCOMPARE(page->DBMemo4->toPlainText(), QStringLiteral("arabic 1.2"));
        QCOMPARE(page->DBMemo3->toPlainText(), QString());
        select(page, node(page, 0, 0));
        page->itemLookup();
        QCOMPARE(page->DBMemo3->toPlainText(), QStringLiteral("farsi 1.1"));
        QCOMPARE(page->DBText4->text(), QStringLiteral("S1"));
    }

    void looksUpTheSelectedNode()
    {
        ProgramFixture program(bookDatabase());
        NahjPage *page = program.window()->TabSheet2.get();
        DataSet *book = program.window()->ADOQuery1;
        select(page, node(page, 0, 2));
        page->itemLookup();
        QCOMPARE(book->sql(),
                 QStringList({QStringLiteral("SELECT * FROM Main"),
                              QStringLiteral("WHERE Code = 1"), QStringLiteral("AND ID = 3")}));
        QCOMPARE(page->DBMemo4->toPlainText(), QStringLiteral("arabic 1.3"));
        QCOMPARE(page->DBMemo3->toPlainText(), QStringLiteral("farsi 1.3"));
        QCOMPARE(page->DBText4->text(), QStringLiteral("S3"));

        // A section node looks up its introduction: Code 0 and the section's position.
        select(page, node(page, 0));
        page->itemLookup();
        QCOMPARE(book->sql().mid(1),
                 QStringList({QStringLiteral("WHERE Code = 0"), QStringLiteral("AND ID = 1")}));
        QCOMPARE(page->DBMemo3->toPlainText(), QStringLiteral("introduction to sermons"));
        select(page, node(page, 2));
        page->itemLookup();
        QCOMPARE(page->DBMemo3->toPlainText(), QString()); // no introduction: empty, no message
        QVERIFY(book->isActive());
    }

    void keysAndClicksRunTheLookup()
    {
        ProgramFixture program(bookDatabase());
        NahjPage *page = program.window()->TabSheet2.get();
        program.window()->show();
        program.window()->setActivePage(page);
        QVERIFY(QTest::qWaitForWindowActive(program.window()));
        node(page, 0)->setExpanded(true);
        QTreeWidget *tree = page->TreeView1;
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(node(page, 0, 0)).center());
        QCOMPARE(page->DBText4->text(), QStringLiteral("S1"));

        // Key-down shows the node selected before the key, key-up the one after it.
        QStringList shown;
        connect(program.window()->ADOQuery1, &DataSet::stateChanged, this, [&] {
            if (program.window()->ADOQuery1->isActive())
                shown << page->DBText4->text();
        });
        tree->setFocus();
        QTest::keyPress(tree, Qt::Key_Down);
        QCOMPARE(page->DBText4->text(), QStringLiteral("S1"));
        QTest::keyRelease(tree, Qt::Key_Down);
        QCOMPARE(page->DBText4->text(), QStringLiteral("S2"));
        // A key that moves nothing still looks up the selected node again.
        QTest::keyClick(tree, Qt::Key_Shift);
        QCOMPARE(page->DBText4->text(), QStringLiteral("S2"));
        QCOMPARE(shown.size(), 4);
    }

    void emptyTypeTableGivesAnEmptyTree()
    {
        const QString path = m_dir.filePath(QStringLiteral("empty.db"));
        FixtureDatabase::write(path, {{1, 1, QStringLiteral("a"), {}, {}, {}}});
        ProgramFixture program(path);
        NahjPage *page = program.window()->TabSheet2.get();
        QCOMPARE(page->TreeView1->topLevelItemCount(), 0);
        page->itemLookup(); // nothing selected: nothing happens
        QVERIFY(!program.window()->ADOQuery1->isActive());
    }

    void failuresAreReported()
    {
        // A file without an item column: the main window reports it and goes on, then the data
        // module refuses it for the same fault, not reported again, and start-up ends.
        const QString broken = m_dir.filePath(QStringLiteral("broken.db"));
        FixtureDatabase::write(broken, {{1, 1, QStringLiteral("a"), {}, {}, {}}},
                               {QStringLiteral("INSERT INTO Type VALUES (1, 'One')")});
        FixtureDatabase::exec(broken, QStringLiteral("ALTER TABLE main RENAME COLUMN Top TO Tip"));
        MemoryDialogs dialogs;
        {
            ProgramFixture program(broken);
            QVERIFY(!program.started());
        }
        QCOMPARE(dialogs.texts().size(), 1);
        QVERIFY(dialogs.texts().first().contains(QStringLiteral("column 'main.Top' is missing")));

        // A lookup that fails leaves the panes unbound and empty and the book set closed.
        dialogs.clear();
        ProgramFixture program(bookDatabase());
        NahjPage *page = program.window()->TabSheet2.get();
        select(page, node(page, 0, 0));
        page->itemLookup();
        FixtureDatabase::exec(m_dir.filePath(QStringLiteral("book.db")),
                              QStringLiteral("DROP TABLE main"));
        select(page, node(page, 0, 1));
        Messages::guard([page] { page->itemLookup(); });
        QCOMPARE(dialogs.texts(), QStringList(QStringLiteral("no such table: Main.")));
        QVERIFY(!program.window()->ADOQuery1->isActive());
        QCOMPARE(page->DBMemo4->toPlainText(), QString());
        QCOMPARE(page->DBText4->text(), QString());
    }

    void sliderAndViews()
    {
        ProgramFixture program(bookDatabase());
        NahjPage *page = program.window()->TabSheet2.get();
        QCOMPARE(page->TrackBar1->value(), 8);
        QCOMPARE(page->TrackBar1->maximum(), 30);
        page->TrackBar1->setValue(20);
        QCOMPARE(page->DBMemo4->font().pointSize(), 20);
        QCOMPARE(page->DBMemo3->font().pointSize(), 20);

        QVERIFY(page->RadioButton8->isChecked());
        page->RadioButton7->click();
        QVERIFY(page->DBMemo4->isHidden());
        // With the translation alone a lookup still fills the hidden text pane.
        select(page, node(page, 2, 0));
        page->itemLookup();
        QCOMPARE(page->DBMemo4->toPlainText(), QStringLiteral("arabic 3.1"));
        page->RadioButton8->click();
        QVERIFY(!page->DBMemo4->isHidden());
    }
};

QTEST_MAIN(tst_NahjPage)
#include "tst_nahjpage.moc"
