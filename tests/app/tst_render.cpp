#include "app/Program.h"
#include "app/Tfrm_main.h"
#include "ui/main/Tmain.h"
#include "platform/MemoryDialogs.h"
#include "ui/nahj/NahjPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/search/SearchPage.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <QCheckBox>
#include <QListWidget>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

// Renders the windows offscreen as a reader sees them, saves the pictures for inspection
// (in the build folder's screenshots/) and checks what can be checked from pixels.
class tst_Render : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    static void save(QWidget *widget, const QString &name)
    {
        const QString dir = QStringLiteral(KEVRAN_SCREENSHOT_DIR);
        QDir().mkpath(dir);
        QVERIFY(widget->grab().save(QDir(dir).filePath(name)));
    }

private slots:
    void initTestCase()
    {
        Program::setUpApplication(*qApp);
        QVERIFY(QFile::link(QStringLiteral(KEVRAN_TEST_DATABASE),
                            m_dir.filePath(QStringLiteral("1.db"))));
        QDir::setCurrent(m_dir.path());
        QVERIFY(Program::createWindows());
    }
    void cleanupTestCase() { Program::destroyWindows(); }

    void launcher()
    {
        kevran::frm_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(kevran::frm_main));
        const QImage shot = kevran::frm_main->grab().toImage();
        QCOMPARE(shot.size(), QSize(734, 532));
        // The picture is drawn from the top-left corner: its dark background is there.
        QVERIFY(qGray(shot.pixel(5, 5)) < 90);
        save(kevran::frm_main, QStringLiteral("launcher.png"));
    }

    void quranPage()
    {
        kevran::frm_main->AdvToolButton3Click();
        kevran::main->resize(1000, 700);
        QVERIFY(QTest::qWaitForWindowExposed(kevran::main));
        QuranPage *quran = kevran::main->TabSheet1;
        quran->ListBox5->setCurrentRow(1);
        save(kevran::main, QStringLiteral("main-quran-panes.png"));
        quran->CheckBox1->click();
        quran->PageControl2->setCurrentWidget(quran->TabSheet7);
        save(kevran::main, QStringLiteral("main-quran-grid.png"));
        QCOMPARE(quran->Panel1->height(), 41);
        QCOMPARE(quran->PageControl2->width(), 183);
    }

    void nahjPage()
    {
        kevran::main->setActivePage(kevran::main->TabSheet2);
        NahjPage *nahj = kevran::main->TabSheet2;
        QTreeWidgetItem *first = nahj->TreeView1->topLevelItem(0);
        QVERIFY(first);
        first->setExpanded(true);
        nahj->TreeView1->setCurrentItem(first->child(0));
        nahj->itemLookup();
        QVERIFY(!nahj->DBMemo4->toPlainText().isEmpty());
        save(kevran::main, QStringLiteral("main-nahj.png"));
    }

    void searchPage()
    {
        MemoryDialogs dialogs;
        kevran::main->setActivePage(kevran::main->TabSheet3);
        SearchPage *search = kevran::main->TabSheet3;
        search->BitBtn5->click();
        QCOMPARE(dialogs.shown().size(), 1);
        save(kevran::main, QStringLiteral("main-search.png"));
    }

    void aboutPage()
    {
        kevran::frm_main->AdvToolButton1Click();
        kevran::main->resize(1000, 700);
        QVERIFY(QTest::qWaitForWindowExposed(kevran::main));
        save(kevran::main, QStringLiteral("main-about.png"));
        QCOMPARE(kevran::main->PageControl1->currentIndex(), 5);
    }
};

QTEST_MAIN(tst_Render)
#include "tst_render.moc"
