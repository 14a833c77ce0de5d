#include "app/Program.h"
#include "app/Tfrm_main.h"
#include "data/DataSet.h"
#include "doubles/MemoryColorChooser.h"
#include "doubles/MemoryFontChooser.h"
#include "doubles/MemoryProfileFile.h"
#include "platform/ConfigLocation.h"
#include "support/ProgramFixture.h"
#include "ui/main/AboutPage.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/question/LabeledEdit.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"
#include "ui/search/SearchPage.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

// The main window's pages are made when first needed: what start-up sets up reaches them all
// the same, whenever they are made.
class tst_LazyPages : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> m_program;

    Tmain *window() const { return m_program->window(); }

    static void removeSettings()
    {
        for (const char *name : {"Quran", "Book", "ALL", "QuranColor", "BookColor"})
            QFile::remove(ConfigLocation::filePath(QLatin1String(name)));
    }

private slots:
    void init() { removeSettings(); }
    void cleanup()
    {
        m_program.reset();
        removeSettings();
    }

    void startUpMakesOnlyWhatItFills()
    {
        m_program = std::make_unique<ProgramFixture>(ProgramFixture::Rows::AsStartUpLeaves);
        QVERIFY(m_program->started());
        Tmain *main = window();
        // The verse set is open on every verse, on the first; its other rows are not read yet.
        DataSet *verses = m_program->verses();
        QVERIFY(verses->isActive());
        QVERIFY(!verses->isFetched());
        QCOMPARE(verses->fieldText(QStringLiteral("name")), QString::fromUtf8("الفاتحة"));
        // The creation step fills the Nahj tree, restores the display settings.
        QVERIFY(main->TabSheet2.made());
        QVERIFY(main->TabSheet2.made()->TreeView1->topLevelItemCount() > 0);
        QVERIFY(main->TabSheet5.made());
        QVERIFY(!main->TabSheet1.made());
        QVERIFY(!main->TabSheet3.made());
        QVERIFY(!main->TabSheet4.made());
        QVERIFY(!main->TabSheet6.made());
        QVERIFY(!main->NotesSheet.made());
        // Every tab is there, named and captioned, the first one current; the reader's own
        // page after the six.
        QTabWidget *tabs = main->PageControl1;
        QCOMPARE(tabs->count(), 7);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(tabs->widget(i)->objectName(), QStringLiteral("TabSheet%1").arg(i + 1));
        QCOMPARE(tabs->widget(6)->objectName(), QStringLiteral("NotesPage"));
        QCOMPARE(tabs->tabText(6), QStringLiteral("يادداشت ها"));
        QCOMPARE(tabs->tabText(3), QStringLiteral("سؤال از ما "));
        QCOMPARE(tabs->currentIndex(), 0);

        // A page used from code is made in its own tab; the current tab stays.
        QuranPage *quran = main->TabSheet1.get();
        QCOMPARE(tabs->widget(0), quran);
        QCOMPARE(tabs->currentIndex(), 0);
        SearchPage *search = main->TabSheet3.get();
        QCOMPARE(tabs->widget(2), search);
        QCOMPARE(tabs->count(), 7);
        // The verse displays made now show the verse set's current row; the verse list reads
        // the rest.
        QVERIFY(!quran->DBMemo1->toPlainText().isEmpty());
        QVERIFY(verses->isFetched());
        QCOMPARE(quran->DbAltGrid3->model()->rowCount(), 6236);
        // Closing the window asks after the question page and makes none.
        main->FormClose();
        QVERIFY(!main->TabSheet4.made());
    }

    void showingTheWindowMakesEveryPageQuietly()
    {
        m_program = std::make_unique<ProgramFixture>();
        QVERIFY(m_program->started());
        Tmain *main = window();
        QuranPage *quran = main->TabSheet1.get();
        quran->PageControl2->setCurrentWidget(quran->TabSheet7);
        QSignalSpy changes(main->PageControl1, &QTabWidget::currentChanged);
        kevran::frm_main->AdvToolButton7Click(); // the search page
        QVERIFY(main->isVisible());
        QVERIFY(main->TabSheet3.made() && main->TabSheet4.made() && main->TabSheet6.made());
        for (int i = 0; i < 6; ++i)
            QCOMPARE(main->PageControl1->widget(i)->objectName(),
                     QStringLiteral("TabSheet%1").arg(i + 1));
        QCOMPARE(main->PageControl1->currentWidget(), main->TabSheet3.made());
        // Only the launcher's own selection changed the tab: making the pages did not, and the
        // Quran page's side tabs were not reset.
        QCOMPARE(changes.count(), 1);
        QCOMPARE(quran->PageControl2->currentWidget(), quran->TabSheet7);
    }

    void settingsRestoredReachPagesMadeLater()
    {
        // A first run stores a Quran font, a Quran background and a window font.
        {
            MemoryFontChooser fonts;
            MemoryColorChooser colors;
            ProgramFixture first;
            QVERIFY(first.started());
            DisplaySettingsPage *settings = first.window()->TabSheet5.get();
            fonts.setEdit([](FontChooser::Answer &answer) {
                answer.font.face = QStringLiteral("DejaVu Serif");
                answer.font.height = -19;
            });
            settings->QuranFontButton->click();
            fonts.setEdit([](FontChooser::Answer &answer) {
                answer.font.face = QStringLiteral("DejaVu Sans");
                answer.font.height = -13;
            });
            settings->WindowFontButton->click();
            colors.setEdit(
                [](QColor &color, QList<QColor> &) { color = QColor(0xFF, 0xFF, 0xCC); });
            settings->QuranColorButton->click();
        }
        m_program = std::make_unique<ProgramFixture>();
        QVERIFY(m_program->started());
        Tmain *main = window();
        QVERIFY(!main->TabSheet1.made());
        QuranPage *quran = main->TabSheet1.get();
        for (QWidget *control :
             QList<QWidget *>{quran->DBMemo1, quran->DBMemo2, quran->DbAltGrid3}) {
            QCOMPARE(control->font().family(), QStringLiteral("DejaVu Serif"));
            QCOMPARE(control->font().pixelSize(), 19);
            QCOMPARE(control->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xCC));
        }
        // Controls without a font of their own follow the restored window font.
        QCOMPARE(quran->chapter->font().family(), QStringLiteral("DejaVu Sans"));
        SearchPage *search = main->TabSheet3.get();
        QCOMPARE(search->Edit2->font().family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(search->Edit2->font().pixelSize(), 13);
        // A later choice reaches the page made in between.
        MemoryFontChooser fonts;
        fonts.setEdit([](FontChooser::Answer &answer) {
            answer.font.face = QStringLiteral("DejaVu Sans Mono");
            answer.font.height = -15;
        });
        main->TabSheet5.get()->QuranFontButton->click();
        QCOMPARE(quran->DBMemo1->font().family(), QStringLiteral("DejaVu Sans Mono"));
    }

    void senderSettingsAreThoseReadAtCreation()
    {
        MemoryProfileFile profiles;
        const QString path = QuestionPage::profilePath();
        profiles.setBytes(path, "[1]\r\nName=Reza\r\n[2]\r\nMail=reza@example.org\r\n");
        m_program = std::make_unique<ProgramFixture>();
        QVERIFY(m_program->started());
        QVERIFY(!window()->TabSheet4.made());
        // The file changes before the page is first needed: the page shows what start-up read.
        profiles.setBytes(path, "[1]\r\nName=Other\r\n");
        QuestionPage *question = window()->TabSheet4.get();
        QCOMPARE(question->dbEdit1->text(), QStringLiteral("Reza"));
        QCOMPARE(question->ledFrom->text(), QStringLiteral("reza@example.org"));
    }

    void pagesAreMadeWhileTheLauncherShows()
    {
        m_program = std::make_unique<ProgramFixture>(ProgramFixture::Rows::AsStartUpLeaves);
        QVERIFY(m_program->started());
        Tmain *main = window();
        DataSet *verses = m_program->verses();
        // The step given runs first, before any page is made: the program reads the verse
        // rows there.
        bool firstRanBeforePages = false;
        main->makePagesWhenIdle(kevran::frm_main, [&] {
            firstRanBeforePages = !main->TabSheet1.made() && !main->TabSheet3.made();
            QVERIFY(Program::readVerseRows());
        });
        // Nothing before the launcher has painted, however long the event loop waits: the verse
        // rows too are read then.
        {
            QEventLoop loop;
            QTimer::singleShot(50, &loop, &QEventLoop::quit);
            loop.exec();
        }
        QVERIFY(!main->TabSheet1.made());
        QVERIFY(!verses->isFetched());
        kevran::frm_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(kevran::frm_main));
        // The steps run when the event loop is about to wait, as it does in exec().
        auto allMade = [main] {
            return main->TabSheet1.made() && main->TabSheet3.made() && main->TabSheet4.made() &&
                   main->TabSheet6.made();
        };
        QElapsedTimer waited;
        waited.start();
        while (!allMade() && waited.elapsed() < 10000) {
            QEventLoop loop;
            QTimer::singleShot(20, &loop, &QEventLoop::quit);
            loop.exec();
        }
        QVERIFY(allMade());
        QVERIFY(firstRanBeforePages);
        QVERIFY(verses->isFetched());
        QVERIFY(!main->isVisible());
        QCOMPARE(main->PageControl1->currentIndex(), 0);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(main->PageControl1->widget(i)->objectName(),
                     QStringLiteral("TabSheet%1").arg(i + 1));
    }
};

QTEST_MAIN(tst_LazyPages)
#include "tst_lazypages.moc"
