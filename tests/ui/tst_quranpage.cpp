#include "data/DataSet.h"
#include "doubles/MemoryClipboard.h"
#include "doubles/MemoryDialogs.h"
#include "doubles/MemoryKeyboardLayout.h"
#include "support/ProgramFixture.h"
#include "ui/main/FlatButton.h"
#include "ui/main/Tmain.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>

// The Quran page against the real text database.
class tst_QuranPage : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> m_program;
    QuranPage *page = nullptr;
    DataSet *verses = nullptr;

    QString current(const char *field) const { return verses->fieldText(QLatin1String(field)); }
    QString where() const { return verses->sql().value(2); }

    // Replaces a box's text the way typing does, one keystroke at a time.
    static void type(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        QTest::keyClicks(box, text);
    }

    int opensDuring(const std::function<void()> &action)
    {
        int opens = 0;
        const auto connection = connect(verses, &DataSet::stateChanged, this, [&] {
            if (verses->isActive())
                ++opens;
        });
        action();
        disconnect(connection);
        return opens;
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = {})
    {
        VerseGrid *grid = page->DbAltGrid3;
        const QRect rect = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, rect.center());
    }

private slots:
    void init()
    {
        m_program = std::make_unique<ProgramFixture>();
        QVERIFY(m_program->started());
        page = m_program->window()->TabSheet1.get();
        verses = m_program->verses();
        m_program->window()->resize(900, 700);
        m_program->window()->show();
        QVERIFY(QTest::qWaitForWindowActive(m_program->window()));
    }
    void cleanup() { m_program.reset(); }

    void startState()
    {
        QCOMPARE(page->Panel2->text(), QuranPage::Basmala);
        QCOMPARE(page->DBText1->text(), QStringLiteral("1"));
        QCOMPARE(page->DBText2->text(), QString::fromUtf8("الفاتحة"));
        QCOMPARE(page->DBText3->text(), QStringLiteral("1"));
        QCOMPARE(page->DBMemo1->toPlainText(), current("Arabic"));
        QCOMPARE(page->DBMemo2->toPlainText(), current("English"));
        QCOMPARE(page->TrackBar3->value(), 8);
        QVERIFY(!page->CheckBox1->isChecked());
        QCOMPARE(page->Views->currentWidget(), page->Panes);
        QCOMPARE(page->PageControl2->currentWidget(), page->TabSheet8);
        QVERIFY(page->GroupBox2->isHidden());
        QVERIFY(page->ar->isChecked());
        QVERIFY(page->b->isHidden());
        QCOMPARE(page->ListBox5->count(), 114);
        QCOMPARE(page->ListBox5->item(10)->text(), QString::fromUtf8("هود "));
        QCOMPARE(page->DbAltGrid3->model()->rowCount(), 6236);
        // Rows are four lines of the grid's font high, whatever the font.
        QCOMPARE(page->DbAltGrid3->verticalHeader()->defaultSectionSize(),
                 VerseGrid::rowHeightFor(page->DbAltGrid3->font()));
    }

    void banner()
    {
        MemoryDialogs dialogs;
        page->ListBox5->setCurrentRow(8); // sura 9
        QCOMPARE(current("chapter"), QStringLiteral("9"));
        QCOMPARE(page->Panel2->text(), QString());
        page->ListBox5->setCurrentRow(1);
        QCOMPARE(page->Panel2->text(), QuranPage::Basmala);
        page->BitBtn2->click(); // 2:2
        QCOMPARE(page->Panel2->text(), QString());

        // A listing whose current row is 10:1 shows the basmala; its next row, 31:2, does not.
        page->Edit1->setText(QString::fromUtf8("تلك آيات الكتاب الحكيم"));
        page->BitBtn6->click();
        QCOMPARE(current("chapter") + QLatin1Char(':') + current("vers"), QStringLiteral("10:1"));
        QCOMPARE(page->Panel2->text(), QuranPage::Basmala);
        page->BitBtn2->click();
        QCOMPARE(current("chapter") + QLatin1Char(':') + current("vers"), QStringLiteral("31:2"));
        QCOMPARE(page->Panel2->text(), QString());

        type(page->chapter, QStringLiteral("0")); // an empty set
        QCOMPARE(verses->recordCount(), 0);
        QCOMPARE(page->Panel2->text(), QString());
        QCOMPARE(page->DBText1->text(), QString());
        QCOMPARE(page->DBMemo1->toPlainText(), QString());
    }

    void suraBox()
    {
        MemoryDialogs dialogs;
        QCOMPARE(opensDuring([this] { type(page->chapter, QStringLiteral("12")); }), 2);
        QCOMPARE(where(), QStringLiteral("WHERE (chapter like '12') "));
        QCOMPARE(verses->recordCount(), 111);
        QVERIFY(dialogs.shown().isEmpty());

        // Deleting the last digit leaves the box empty: an error, and sura 1 stays.
        QTest::keyClick(page->chapter, Qt::Key_Backspace);
        QCOMPARE(current("chapter"), QStringLiteral("1"));
        QTest::keyClick(page->chapter, Qt::Key_Backspace);
        QCOMPARE(dialogs.texts(), QStringList(QStringLiteral("'' is not a valid integer value.")));
        QCOMPARE(dialogs.shown().first().kind, Dialogs::Kind::Error);
        QCOMPARE(current("chapter"), QStringLiteral("1"));
        QVERIFY(verses->isActive());

        dialogs.clear();
        page->chapter->setText(QStringLiteral("114"));
        QCOMPARE(verses->recordCount(), 6);
        QVERIFY(dialogs.shown().isEmpty());
        page->chapter->setText(QStringLiteral("115"));
        QCOMPARE(dialogs.texts(), QStringList(QString::fromUtf8("شماره سوره غير معتبر است ")));
        QCOMPARE(dialogs.shown().first().kind, Dialogs::Kind::Message);
        QCOMPARE(verses->recordCount(), 0);

        dialogs.clear();
        for (const char *none : {"0", "-3", "$C"}) {
            page->chapter->setText(QLatin1String(none));
            QVERIFY(verses->isActive());
            QCOMPARE(verses->recordCount(), 0);
        }
        page->chapter->setText(QStringLiteral("0x73")); // 115 in hexadecimal
        QCOMPARE(dialogs.texts(), QStringList(QString::fromUtf8("شماره سوره غير معتبر است ")));

        // Typed text stays text: an apostrophe neither breaks nor widens the statement.
        dialogs.clear();
        page->chapter->setText(QStringLiteral("1' OR '1'='1"));
        QCOMPARE(dialogs.texts(),
                 QStringList(QStringLiteral("'1' OR '1'='1' is not a valid integer value.")));
    }

    // The Persian layout, which entering the sura box switches to, types ۰-۹.
    void persianDigits()
    {
        MemoryDialogs dialogs;
        page->chapter->clear();
        QCOMPARE(opensDuring([this] {
                     page->chapter->insert(QString::fromUtf8("۱"));
                     page->chapter->insert(QString::fromUtf8("۲"));
                 }),
                 2);
        QCOMPARE(current("chapter"), QStringLiteral("12"));
        QCOMPARE(verses->recordCount(), 111);
        page->chapter->setText(QString::fromUtf8("۱۱۴"));
        QCOMPARE(verses->recordCount(), 6);
        QVERIFY(dialogs.shown().isEmpty());
        page->chapter->setText(QString::fromUtf8("۱۱۵"));
        QCOMPARE(dialogs.texts(), QStringList(QString::fromUtf8("شماره سوره غير معتبر است ")));
        QCOMPARE(verses->recordCount(), 0);
        dialogs.clear();
        page->chapter->setText(QString::fromUtf8("١٢")); // Arabic-Indic digits
        QCOMPARE(verses->recordCount(), 111);

        page->chapter->setText(QString::fromUtf8("۲"));
        page->verse->setText(QString::fromUtf8("۲۵۵"));
        QCOMPARE(verses->recordCount(), 1);
        QCOMPARE(current("chapter") + ':' + current("vers"), QStringLiteral("2:255"));
        QVERIFY(dialogs.shown().isEmpty());
    }

    void verseBox()
    {
        MemoryDialogs dialogs;
        page->chapter->setText(QStringLiteral("1"));
        QTest::keyClick(page->verse, Qt::Key_1);
        QCOMPARE(verses->recordCount(), 1);
        QCOMPARE(current("vers"), QStringLiteral("1"));
        QVERIFY(dialogs.shown().isEmpty());
        QTest::keyClick(page->verse, Qt::Key_0); // sura 1 has seven verses
        QCOMPARE(dialogs.texts(), QStringList(QString::fromUtf8("اين آيه يافت نشد")));
        QCOMPARE(verses->recordCount(), 0);

        // After a verse was chosen there is nowhere to move.
        page->verse->setText(QStringLiteral("3"));
        page->BitBtn1->click();
        page->BitBtn2->click();
        QCOMPARE(current("vers"), QStringLiteral("3"));

        // Text that is no number: the error, and the set stays closed.
        dialogs.clear();
        page->verse->setText(QStringLiteral("ab"));
        QCOMPARE(dialogs.texts(),
                 QStringList(QStringLiteral("'ab' is not a valid integer value.")));
        QVERIFY(!verses->isActive());
        QCOMPARE(page->Panel2->text(), QString());
        QCOMPARE(page->DBMemo2->toPlainText(), QString());

        // Moving on a closed set is an error too.
        dialogs.clear();
        page->BitBtn2->click();
        QCOMPARE(dialogs.texts(),
                 QStringList(QStringLiteral("Cannot perform this operation on a closed dataset.")));
    }

    void verseBoxClickWithoutSura()
    {
        MemoryDialogs dialogs;
        QTest::mouseClick(page->verse, Qt::LeftButton);
        QCOMPARE(dialogs.texts(),
                 QStringList(QString::fromUtf8("اول شماره سوره مورد نظر را وارد نماييد")));
        QCOMPARE(QApplication::focusWidget(), page->chapter);
    }

    void previousAndNext()
    {
        page->ListBox5->setCurrentRow(0);
        page->BitBtn1->click(); // at the first row
        QCOMPARE(current("vers"), QStringLiteral("1"));
        for (int i = 0; i < 10; ++i)
            page->BitBtn2->click();
        QCOMPARE(current("vers"), QStringLiteral("7")); // stays inside the sura
        page->BitBtn1->click();
        QCOMPARE(current("vers"), QStringLiteral("6"));
    }

    void suraListLeavesTheBoxesAlone()
    {
        page->chapter->setText(QStringLiteral("3"));
        page->verse->setText(QStringLiteral("4"));
        page->ListBox5->setCurrentRow(8);
        QTest::mouseClick(page->ListBox5->viewport(), Qt::LeftButton, {},
                          page->ListBox5->visualItemRect(page->ListBox5->item(8)).center());
        QCOMPARE(where(), QStringLiteral("WHERE (chapter = 9) "));
        QCOMPARE(page->chapter->text(), QStringLiteral("3"));
        QCOMPARE(page->verse->text(), QStringLiteral("4"));

        // Clicking the selected item again lists the sura again after a search.
        page->Edit1->setText(QString::fromUtf8("موسى"));
        MemoryDialogs dialogs;
        page->BitBtn6->click();
        QVERIFY(where().contains(QStringLiteral("search1")));
        QCOMPARE(opensDuring([this] {
                     QTest::mouseClick(
                         page->ListBox5->viewport(), Qt::LeftButton, {},
                         page->ListBox5->visualItemRect(page->ListBox5->item(8)).center());
                 }),
                 1);
        QCOMPARE(where(), QStringLiteral("WHERE (chapter = 9) "));
    }

    void selectionAndCopy()
    {
        MemoryClipboard clipboard;
        page->ListBox5->setCurrentRow(1);
        page->CheckBox1->click();
        QCOMPARE(page->Views->currentWidget(), page->DbAltGrid3);

        // No selected rows: the clipboard is left as it was.
        page->Copy2->trigger();
        QCOMPARE(clipboard.writes(), 0);

        clickRow(4);
        clickRow(1, Qt::ControlModifier);
        clickRow(8, Qt::ControlModifier);
        QCOMPARE(page->DbAltGrid3->selectedRows(), QList<int>({1, 4, 8}));
        page->DbAltGrid3->setFocus();
        QTest::keyClick(page->DbAltGrid3, Qt::Key_C, Qt::ControlModifier);
        const auto arabic = [this](int row) {
            return verses->text(row, verses->fieldIndex(QStringLiteral("Arabic")));
        };
        QCOMPARE(clipboard.text(), arabic(1) + '\n' + arabic(4) + '\n' + arabic(8) + '\n');
        QCOMPARE(verses->currentRow(), 8);

        page->MoreComent1->trigger();
        QVERIFY(clipboard.text().startsWith(
            verses->text(1, verses->fieldIndex(QStringLiteral("English")))));

        // Moving with the keyboard without Shift empties the selection; with Shift it extends.
        QTest::keyClick(page->DbAltGrid3, Qt::Key_Down, Qt::ShiftModifier);
        QVERIFY(page->DbAltGrid3->selectedRows().contains(9));
        QTest::keyClick(page->DbAltGrid3, Qt::Key_Down);
        QVERIFY(page->DbAltGrid3->selectedRows().isEmpty());
        QCOMPARE(verses->currentRow(), 10);

        // A rebuild empties the selection.
        clickRow(3);
        page->ListBox5->setCurrentRow(2);
        QVERIFY(page->DbAltGrid3->selectedRows().isEmpty());
    }

    void displayModeAndFontSize()
    {
        page->ListBox5->setCurrentRow(1);
        page->BitBtn2->click();
        page->CheckBox1->click();
        page->CheckBox1->click();
        QCOMPARE(page->Views->currentWidget(), page->Panes);
        QCOMPARE(current("vers"), QStringLiteral("2"));

        const QFont titles = page->DbAltGrid3->horizontalHeader()->font();
        page->TrackBar3->setValue(9);
        QCOMPARE(page->DBMemo1->font().pointSize(), 9);
        QCOMPARE(page->DBMemo2->font().pointSize(), 9);
        QCOMPARE(page->DbAltGrid3->font().pointSize(), 9);
        QCOMPARE(page->DbAltGrid3->horizontalHeader()->font(), titles);
        QCOMPARE(page->DbAltGrid3->verticalHeader()->defaultSectionSize(),
                 VerseGrid::rowHeightFor(page->DbAltGrid3->font()));
        QCOMPARE(page->TrackBar3->maximum(), 16);
        QCOMPARE(page->TrackBar3->pageStep(), 5);
    }

    void topics()
    {
        page->PageControl2->setCurrentWidget(page->TabSheet7);
        QVERIFY(!page->GroupBox2->isHidden());
        const auto click = [this](const char *name) {
            auto *button = page->findChild<FlatButton *>(QLatin1String(name));
            QVERIFY(button);
            QTest::mouseClick(button, Qt::LeftButton);
        };
        click("ttt");
        QCOMPARE(page->b->text(), QStringLiteral("tt"));
        QCOMPARE(page->Topic->text(), QString::fromUtf8("قيامت"));
        QCOMPARE(verses->sql(),
                 QStringList({QStringLiteral("SELECT * "),
                              QStringLiteral("From main left join num on main.id1=num.id"),
                              QStringLiteral("WHERE (sub like '%tt%') ")}));
        click("ass");
        QCOMPARE(page->b->text(), QStringLiteral("as"));
        QCOMPARE(page->Topic->text(), QString::fromUtf8("تفکر"));
        // The buttons' named handlers do what the buttons do.
        page->aaClick();
        QCOMPARE(page->b->text(), QStringLiteral("aa"));
        QCOMPARE(page->Topic->text(), QString::fromUtf8("صفات خداوند"));
        page->awClick();
        QCOMPARE(page->b->text(), QStringLiteral("aw"));
        QCOMPARE(page->Topic->text(), QString::fromUtf8("منافقين"));
        page->assClick();
        QCOMPARE(page->b->text(), QStringLiteral("as"));

        // A sura after a topic leaves the code box and the label alone ...
        page->ListBox5->setCurrentRow(3);
        QCOMPARE(page->b->text(), QStringLiteral("as"));
        QCOMPARE(page->Topic->text(), QString::fromUtf8("تفکر"));
        // ... and the same topic clicked again lists it again.
        click("ass");
        QCOMPARE(where(), QStringLiteral("WHERE (sub like '%as%') "));

        // Switching pages by the tabs brings back the sura list and hides the topic name.
        QTabBar *tabs = m_program->window()->PageControl1->findChild<QTabBar *>();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QCOMPARE(page->PageControl2->currentWidget(), page->TabSheet8);
        QVERIFY(page->GroupBox2->isHidden());
    }

    void quickSearch()
    {
        MemoryDialogs dialogs;
        page->Edit1->setText(QString::fromUtf8("الله"));
        page->BitBtn6->click();
        QCOMPARE(where(), QString::fromUtf8("WHERE ( search1 like '%الله%') "));
        const int hits = verses->recordCount();
        QVERIFY(hits > 1000);
        QCOMPARE(dialogs.texts(),
                 QStringList(QString::number(hits) + QString::fromUtf8("مورد نتيجه داشت")));

        dialogs.clear();
        page->fa->setChecked(true);
        page->Edit1->setText(QString::fromUtf8("موسی"));
        page->BitBtn6->click();
        QCOMPARE(where(), QString::fromUtf8("WHERE ( English like '%موسی%') "));
        QVERIFY(verses->recordCount() > 100);

        dialogs.clear();
        page->Edit1->setText(QStringLiteral("zzqq"));
        page->BitBtn6->click();
        QCOMPARE(dialogs.texts(), QStringList(QString::fromUtf8("چيزي يافت نشد ")));
        QCOMPARE(verses->recordCount(), 0);

        dialogs.clear();
        page->Edit1->clear();
        page->BitBtn6->click();
        QCOMPARE(dialogs.texts(), QStringList(QString::fromUtf8("کلمه اي براي جستجو بنويسيد")));
        QCOMPARE(verses->recordCount(), 6236);

        // An apostrophe is searched for, not an error.
        dialogs.clear();
        page->Edit1->setText(QStringLiteral("'"));
        page->BitBtn6->click();
        QCOMPARE(dialogs.texts(), QStringList(QString::fromUtf8("چيزي يافت نشد ")));
        QVERIFY(verses->isActive());

        // Wildcards of the comparison work, and Persian yeh and kaf find the Arabic letters.
        page->ar->setChecked(true);
        page->Edit1->setText(QString::fromUtf8("مالک يوم الدین"));
        page->BitBtn6->click();
        QCOMPARE(verses->recordCount(), 1);
        QCOMPARE(current("chapter") + QLatin1Char(':') + current("vers"), QStringLiteral("1:4"));
        page->Edit1->setText(QString::fromUtf8("م_لك يوم"));
        page->BitBtn6->click();
        QCOMPARE(verses->recordCount(), 1);
    }

    void focusAndKeyboard()
    {
        MemoryKeyboardLayout layouts;
        MemoryDialogs dialogs;
        const QColor window = page->chapter->palette().color(QPalette::Base);
        page->chapter->setFocus();
        QVERIFY(page->chapter->font().bold());
        QCOMPARE(page->chapter->palette().color(QPalette::Base),
                 QApplication::palette().color(QPalette::ToolTipBase));
        page->Edit1->setFocus();
        QVERIFY(!page->chapter->font().bold());
        QCOMPARE(page->chapter->palette().color(QPalette::Base), window);
        QVERIFY(page->Edit1->font().bold());
        page->verse->setFocus();
        QVERIFY(page->verse->font().bold());
        QCOMPARE(layouts.activated(),
                 QStringList({KeyboardLayout::Persian, KeyboardLayout::Persian}));

        // Enter in the sura and verse boxes goes to the verse; it does not press the quick
        // search button, which would lose the verse. In the quick search box it searches.
        page->Edit1->setText(QString::fromUtf8("zzqq"));
        page->chapter->setText(QStringLiteral("2"));
        page->verse->setText(QStringLiteral("255"));
        QCOMPARE(verses->fieldText(QStringLiteral("vers")), QStringLiteral("255"));
        page->chapter->setText(QStringLiteral("2")); // the whole sura, on its first verse
        for (QLineEdit *box : {page->verse, page->chapter}) {
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(verses->fieldText(QStringLiteral("chapter")), QStringLiteral("2"));
            QCOMPARE(verses->fieldText(QStringLiteral("vers")), QStringLiteral("255"));
            QVERIFY(dialogs.texts().isEmpty());
        }
        QTest::keyClick(page->Edit1, Qt::Key_Return);
        QCOMPARE(dialogs.texts(), QStringList(QString::fromUtf8("چيزي يافت نشد ")));
    }

    // A verse longer than its pane shows a scroll bar that reaches its end (2:282 at 16).
    void longVerseScrolls()
    {
        m_program->window()->resize(799, 570);
        page->TrackBar3->setValue(16);
        page->chapter->setText(QStringLiteral("2"));
        page->verse->setText(QStringLiteral("282"));
        QCoreApplication::processEvents();
        for (QPlainTextEdit *pane : {page->DBMemo1, page->DBMemo2}) {
            QScrollBar *bar = pane->verticalScrollBar();
            QVERIFY2(bar->isVisible() && bar->maximum() > 0, qPrintable(pane->objectName()));
        }
    }

    void questionButton()
    {
        page->ListBox5->setCurrentRow(1);
        page->BitBtn2->click();
        page->PageControl2->setCurrentWidget(page->TabSheet7);
        QTest::mouseClick(page->AdvToolButton1, Qt::LeftButton);
        QCOMPARE(page->PageControl2->currentWidget(), page->TabSheet8);
        QCOMPARE(m_program->window()->PageControl1->currentIndex(), 3);
        QCOMPARE(current("vers"), QStringLiteral("2"));
    }
};

QTEST_MAIN(tst_QuranPage)
#include "tst_quranpage.moc"
