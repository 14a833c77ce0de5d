#include "app/Program.h"
#include "app/Tfrm_main.h"
#include "data/DataSet.h"
#include "data/TDataModule2.h"
#include "doubles/MemoryDialogs.h"
#include "doubles/MemoryShell.h"
#include "ui/main/AboutPage.h"
#include "ui/main/FlatButton.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

// Start-up, the launcher and the main window shell against the real text database.
class tst_Startup : public QObject {
    Q_OBJECT

    QTemporaryDir m_withDatabase;
    QTemporaryDir m_withoutDatabase;
    QString m_previousDir;

    void start()
    {
        QDir::setCurrent(m_withDatabase.path());
        QVERIFY(Program::createWindows());
    }

    static QTabBar *tabBar(QTabWidget *tabs) { return tabs->findChild<QTabBar *>(); }

    static void clickTab(QTabWidget *tabs, int index)
    {
        QTabBar *bar = tabBar(tabs);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

private slots:
    void initTestCase()
    {
        m_previousDir = QDir::currentPath();
        QVERIFY(QFile::link(QStringLiteral(KEVRAN_TEST_DATABASE),
                            m_withDatabase.filePath(QStringLiteral("1.db"))));
    }

    void init() { Program::setUpApplication(*qApp); }

    void cleanup()
    {
        Program::destroyWindows();
        QDir::setCurrent(m_previousDir);
    }

    void startsWithEveryVerse()
    {
        MemoryDialogs dialogs;
        start();
        QVERIFY(dialogs.shown().isEmpty());
        QCOMPARE(kevran::frm_main->objectName(), QStringLiteral("frm_main"));
        QCOMPARE(kevran::main->objectName(), QStringLiteral("main"));
        QCOMPARE(kevran::DataModule2->objectName(), QStringLiteral("DataModule2"));
        QVERIFY(!kevran::main->isVisible());
        QCOMPARE(kevran::main->windowTitle(), QString::fromUtf8("ورتانس"));

        DataSet *verses = kevran::DataModule2->ADOQuery1;
        QVERIFY(verses->isActive());
        QVERIFY(Program::readVerseRows()); // as the first idle step does
        QCOMPARE(verses->recordCount(), 6236);
        QCOMPARE(verses->currentRow(), 0);
        QCOMPARE(verses->fieldText(QStringLiteral("chapter")), QStringLiteral("1"));
        QCOMPARE(verses->fieldText(QStringLiteral("vers")), QStringLiteral("1"));
        QVERIFY(!kevran::DataModule2->ADOQuery2->isActive());

        // The main window's own connection is open and its sets are closed after the tree.
        QVERIFY(!kevran::main->ADOQuery1->isActive());
        QVERIFY(!kevran::main->ADOQuery2->isActive());
        // The question page's verse views already show the first verse.
        QCOMPARE(kevran::main->TabSheet4.get()->Body->toPlainText(),
                 verses->fieldText(QStringLiteral("Arabic")));
    }

    void missingDatabaseEndsBeforeTheLauncher()
    {
        MemoryDialogs dialogs;
        QDir::setCurrent(m_withoutDatabase.path());
        QVERIFY(!Program::createWindows());
        // The text ends in an apostrophe, which sorts before the full stop: none is added.
        const QString missing = QStringLiteral("Could not find file '%1'")
                                    .arg(m_withoutDatabase.filePath(QStringLiteral("1.db")));
        // The main window's creation step reports it; the data module meets the same fault
        // and does not report it again.
        QCOMPARE(dialogs.texts(), QStringList{missing});
        for (const MemoryDialogs::Shown &shown : dialogs.shown()) {
            QCOMPARE(shown.kind, Dialogs::Kind::Error);
            QCOMPARE(shown.caption, QStringLiteral("kevran"));
        }
        QVERIFY(!kevran::frm_main);
        QVERIFY(!kevran::main);
        QVERIFY(!kevran::DataModule2);
    }

    void launcherLayout()
    {
        start();
        Tfrm_main *launcher = kevran::frm_main;
        QCOMPARE(launcher->size(), QSize(734, 532));
        QVERIFY(launcher->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(launcher->windowTitle(), QStringLiteral("KEVRAN"));
        QCOMPARE(launcher->Image1->pixmap().size(), QSize(742, 557));
        // Decoded when the program was built: the very pixels of the picture.
        const QImage picture(QStringLiteral(KEVRAN_LAUNCHER_PICTURE));
        QVERIFY(!picture.isNull());
        QVERIFY(launcher->Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32) ==
                picture.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(launcher->GroupBox1->geometry(), QRect(571, 288, 137, 225));
        const QList<QPair<FlatButton *, QString>> buttons = {
            {launcher->AdvToolButton3, QString::fromUtf8("قرآن")},
            {launcher->AdvToolButton4, QString::fromUtf8("نهج البلاغه")},
            {launcher->AdvToolButton7, QString::fromUtf8("جستجو")},
            {launcher->AdvToolButton1, QString::fromUtf8(" درباره نرم افزار")},
            {launcher->AdvToolButton8, QString::fromUtf8("ارتباط با ما ")},
            {launcher->AdvToolButton2, QString::fromUtf8("تنظيمات")},
            {launcher->AdvToolButton6, QString::fromUtf8("خروج")},
        };
        for (int i = 0; i < buttons.size(); ++i) {
            QCOMPARE(buttons[i].first->text(), buttons[i].second);
            QCOMPARE(buttons[i].first->geometry(), QRect(8, 25 + 25 * i, 120, 25));
        }
        launcher->show();
        QVERIFY(QTest::qWaitForWindowExposed(launcher));
        const QRect screen = launcher->screen()->availableGeometry();
        QCOMPARE(launcher->frameGeometry().center(), screen.center());
    }

    void pageButtonsOpenTheirPage_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("page");
        QTest::newRow("quran") << "AdvToolButton3" << 0;
        QTest::newRow("nahj") << "AdvToolButton4" << 1;
        QTest::newRow("search") << "AdvToolButton7" << 2;
        QTest::newRow("question") << "AdvToolButton8" << 3;
        QTest::newRow("settings") << "AdvToolButton2" << 4;
        QTest::newRow("about") << "AdvToolButton1" << 5;
    }
    void pageButtonsOpenTheirPage()
    {
        QFETCH(QString, button);
        QFETCH(int, page);
        start();
        // Opening from the launcher is a selection from code: the side tabs keep their tab.
        QuranPage *quran = kevran::main->TabSheet1.get();
        quran->PageControl2->setCurrentWidget(quran->TabSheet7);

        kevran::frm_main->show();
        auto *flat = kevran::frm_main->findChild<FlatButton *>(button);
        QVERIFY(flat);
        QTest::mouseClick(flat, Qt::LeftButton);
        QVERIFY(!kevran::frm_main->isVisible());
        QVERIFY(kevran::main->isVisible());
        QVERIFY(kevran::main->windowState() & Qt::WindowMaximized);
        QCOMPARE(kevran::main->PageControl1->currentIndex(), page);
        QCOMPARE(quran->PageControl2->currentWidget(), quran->TabSheet7);
        QVERIFY(!Program::terminationRequested());

        QuestionPage *question = kevran::main->TabSheet4.get();
        const bool forMessage = button == QLatin1String("AdvToolButton8");
        QCOMPARE(question->Body->isHidden(), forMessage);
        QCOMPARE(question->DBMemo5->isHidden(), forMessage);
        QCOMPARE(question->Memo1->toPlainText(),
                 forMessage ? QString::fromUtf8("پيام خود را در اينجا بنويسيد")
                            : QString::fromUtf8("سؤال خود را در اينجا بنويسيد"));
    }

    void exitButtonEndsAtOnce()
    {
        start();
        kevran::frm_main->show();
        QTest::mouseClick(kevran::frm_main->AdvToolButton6, Qt::LeftButton);
        QVERIFY(Program::terminationRequested());
        QVERIFY(!kevran::frm_main->isVisible());
        QVERIFY(!kevran::main->isVisible());
    }

    void closingTheMainWindowEndsTheProgram()
    {
        start();
        kevran::frm_main->show();
        kevran::frm_main->AdvToolButton3Click();
        QVERIFY(!Program::terminationRequested());
        QVERIFY(kevran::main->close());
        QVERIFY(Program::terminationRequested());
    }

    void readerTabChangeResetsTheSideTabs()
    {
        start();
        kevran::frm_main->AdvToolButton3Click();
        QVERIFY(QTest::qWaitForWindowExposed(kevran::main));
        QuranPage *quran = kevran::main->TabSheet1.get();
        QCOMPARE(quran->PageControl2->currentWidget(), quran->TabSheet8);

        quran->PageControl2->setCurrentWidget(quran->TabSheet7);
        clickTab(kevran::main->PageControl1, 0); // the page already shown: nothing happens
        QCOMPARE(quran->PageControl2->currentWidget(), quran->TabSheet7);
        clickTab(kevran::main->PageControl1, 2);
        QCOMPARE(kevran::main->PageControl1->currentIndex(), 2);
        QCOMPARE(quran->PageControl2->currentWidget(), quran->TabSheet8);

        quran->PageControl2->setCurrentWidget(quran->TabSheet7);
        kevran::main->setActivePage(quran); // from code: no reset
        QCOMPARE(quran->PageControl2->currentWidget(), quran->TabSheet7);
    }

    void mainWindowPages()
    {
        start();
        QTabWidget *tabs = kevran::main->PageControl1;
        QCOMPARE(tabs->tabPosition(), QTabWidget::South);
        const QStringList captions = {
            QString::fromUtf8("قرآن"),          QString::fromUtf8("نهج البلاغه"),
            QString::fromUtf8("صفحه جستجو"),    QString::fromUtf8("سؤال از ما "),
            QString::fromUtf8("تنظيمات نمايش"), QString::fromUtf8("درباره نرم افزار")};
        for (int i = 0; i < captions.size(); ++i) {
            QCOMPARE(tabs->tabText(i), captions[i]);
            QCOMPARE(tabs->widget(i)->objectName(), QStringLiteral("TabSheet%1").arg(i + 1));
        }
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(kevran::main->layoutDirection(), Qt::RightToLeft);
        kevran::main->show();
        QCOMPARE(tabBar(tabs)->tabRect(0).size(), QSize(130, 30));
    }

    void aboutText()
    {
        start();
        const QStringList lines =
            kevran::main->TabSheet6.get()->Memo2->toPlainText().split(QLatin1Char('\n'));
        const QStringList expected = {
            QString::fromUtf8("بسم الله الرحمن الرحيم"),
            QString::fromUtf8("ورتانس 2"),
            QString::fromUtf8("اين نرم افزار دومين  محصول سايت قرآني ورتانس هست .در اين  نرم افزار "
                              "که در راستاي  نشر معارف "),
            QString::fromUtf8("راستين و مقدس اسلام و تشيع تهيه و تنظيم گرديده بصورت رايگان تحت "
                              "اختيار کاربران اينترنت قرار گرفته"),
            QString::fromUtf8("در نسخه موجود امکانات جديدي  و ويرايشهاي جديدي صورت پذيرفته از جمله "
                              "امکانات نرم افزار :"),
            QString::fromUtf8("متن قرآن مجيد"),
            QString(), // the Quran translator's credit, checked below
            QString::fromUtf8("متن کتاب شريف نهج البلاغه"),
            QString(), // the Nahj al-Balagha translator's credit
            QString::fromUtf8("جستجو"),
            QString::fromUtf8(
                "موضوع بندي آيات قرآن کريم که از جمله موضوعات بکار رفته در اين نرم افزار "),
            QString::fromUtf8("صفات خداوند"),
            QString::fromUtf8("پيامبر اعظم (ص)"),
            QString::fromUtf8("امير مؤمنان (ع)"),
            QString::fromUtf8("اهل بيت عليهم السلام"),
            QString::fromUtf8("مهدويت "),
            QString::fromUtf8("قيامت"),
            QString::fromUtf8("بهشت"),
            QString::fromUtf8("جهنم"),
            QString::fromUtf8("صفات مؤمنين و کفار"),
            QString::fromUtf8("وظايف مسلمان"),
            QString::fromUtf8("يکي از امکانات بسيار مناسب نرم افزار قسمت ارسال سؤال مي باشد.در اين "
                              "قسمت شما مي توانيد سؤالات خود را براي ما ارسال نماييد   "),
            QString(),
            QString::fromUtf8("اميد است به ياري خداوند اين نرم افزار قدم خوبي در زمينه نشر معارف "
                              "اسلام بنهد .از اين رو بهتر است براي نشر بيشتر"),
            QString::fromUtf8(
                "اين نرم افرار از  معرفي کردن اين نرم افزار قرآني به دوستان خود دريغ نفرماييد"),
            QString::fromUtf8("وفقکم الله لطلب مرضاته"),
            QString::fromUtf8("التماس دعا "),
            QString(),
            QString(),
        };
        QVERIFY(lines.size() > expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            if (i == 6 || i == 8)
                continue;
            QCOMPARE(lines[i], expected[i]);
        }
        QVERIFY(lines[6].startsWith(QString::fromUtf8("ترجمه قرآن توسط ")));
        QVERIFY(lines[6].contains(QString::fromUtf8("مکارم شيرازي")));
        QVERIFY(lines[8].startsWith(QString::fromUtf8("ترجمه نهج البلاغه ")));
        QVERIFY(lines[8].contains(QString::fromUtf8("محمد دشتي")));
        const QString sources = lines.mid(29).join(QLatin1Char('\n'));
        QVERIFY(sources.contains(QStringLiteral("Tanzil Project")));
        QVERIFY(sources.contains(QStringLiteral("https://tanzil.net")));
        QVERIFY(kevran::main->TabSheet6.get()->Memo2->isReadOnly());
    }

    void webSiteButton()
    {
        start();
        MemoryShell shell;
        AboutPage *about = kevran::main->TabSheet6.get();
        QCOMPARE(about->btnWebSite->text(), QString::fromUtf8("پشتيباني و مشاهده وب سايت"));
        QCOMPARE(about->btnWebSite->geometry(), QRect(24, 400, 177, 25));
        QTest::mouseClick(about->btnWebSite, Qt::LeftButton);
        QCOMPARE(shell.requests().size(), 1);
        const MemoryShell::Request &request = shell.requests().first();
        QCOMPARE(QUrl(request.file).path(), QStringLiteral("/fa"));
        QCOMPARE(request.parameters, QString());
        QCOMPARE(request.directory, QString());
        QCOMPARE(request.mode, Shell::ShowNormal);
        QCOMPARE(request.window, kevran::main);
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
