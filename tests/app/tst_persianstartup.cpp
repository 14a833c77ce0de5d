#include "app/PersianSupportProbe.h"
#include "app/Program.h"
#include "app/Tfrm_main.h"
#include "data/DataSet.h"
#include "data/TDataModule2.h"
#include "doubles/MemoryDialogs.h"
#include "doubles/MemoryRegistry.h"
#include "doubles/MemoryShell.h"
#include "doubles/MemoryVersionQuery.h"
#include "ui/main/Tmain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Start-up on a system that needs Persian support installed: the launcher's offer and what
// either answer does to the rest of start-up.
class tst_PersianStartup : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;

private slots:
    void initTestCase()
    {
        m_previousDir = QDir::currentPath();
        QVERIFY(QFile::link(QStringLiteral(KEVRAN_TEST_DATABASE),
                            m_dir.filePath(QStringLiteral("1.db"))));
        QDir::setCurrent(m_dir.path());
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }
    void cleanup() { Program::destroyWindows(); }

    void answer_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void answer()
    {
        QFETCH(bool, yes);
        Program::setUpApplication(*qApp);
        MemoryVersionQuery xp(PlatformVersion::NtPlatform, 5, 1);
        MemoryRegistry registry; // nothing set up for Persian
        MemoryDialogs dialogs;
        MemoryShell shell;
        dialogs.setConfirmAnswer(yes);

        QVERIFY(Program::createWindows());
        QCOMPARE(dialogs.texts(), QStringList(PersianSupportProbe::ConfirmText));
        QCOMPARE(shell.requests().size(), yes ? 1 : 0);
        if (yes)
            QCOMPARE(shell.requests().first().window, kevran::frm_main);
        QCOMPARE(Program::terminationRequested(), yes);

        // Either way start-up runs to its end: both windows and the data module exist, and the
        // launcher can still be shown before the event loop takes its turn.
        QVERIFY(kevran::frm_main);
        QVERIFY(kevran::main);
        QVERIFY(kevran::DataModule2);
        QVERIFY(kevran::DataModule2->ADOQuery1->isActive());
        QVERIFY(Program::readVerseRows());
        QCOMPARE(kevran::DataModule2->ADOQuery1->recordCount(), 6236);
        kevran::frm_main->show();
        QVERIFY(kevran::frm_main->isVisible());
    }
};

QTEST_MAIN(tst_PersianStartup)
#include "tst_persianstartup.moc"
