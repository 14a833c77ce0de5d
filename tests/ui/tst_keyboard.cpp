#include "app/Program.h"
#include "app/Tfrm_main.h"
#include "data/DataSet.h"
#include "data/TDataModule2.h"
#include "doubles/MemoryDialogs.h"
#include "platform/SystemDialogs.h"
#include "support/ProgramFixture.h"
#include "ui/main/AboutPage.h"
#include "ui/main/FlatButton.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"
#include "ui/search/SearchPage.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

// The controls of a page that a reader reaches with Tab: shown, enabled, taking Tab. Of a
// group of radios only the checked one is a stop.
QList<QWidget *> tabStops(QWidget *page)
{
    QList<QWidget *> stops;
    for (QWidget *widget : page->findChildren<QWidget *>()) {
        const auto *radio = qobject_cast<QAbstractButton *>(widget);
        if ((widget->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || widget->focusProxy() ||
            !widget->isVisibleTo(page->window()) || !widget->isEnabled() ||
            (radio && radio->autoExclusive() && !radio->isChecked()))
            continue;
        stops.append(widget);
    }
    return stops;
}

// a is read before b on a right-to-left page: b stands wholly below a, or beside it and
// further left.
bool readBefore(QWidget *a, QWidget *b, QWidget *page)
{
    const QRect ra(a->mapTo(page, QPoint(0, 0)), a->size());
    const QRect rb(b->mapTo(page, QPoint(0, 0)), b->size());
    if (ra.bottom() < rb.top())
        return true;
    return ra.top() <= rb.bottom() && rb.top() <= ra.bottom() && ra.left() > rb.right();
}

QString describe(QWidget *widget)
{
    return QStringLiteral("%1(%2)").arg(widget->metaObject()->className(), widget->objectName());
}

} // namespace

// The keyboard: Tab through every page in reading order, the go-to box, the continuous
// display box's accessibility action, the launcher, the shortcuts and the dialogs' Escape.
class tst_Keyboard : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> m_program;
    Tmain *window = nullptr;

    QString current(const char *field) const
    {
        return m_program->verses()->fieldText(QLatin1String(field));
    }

private slots:
    void init()
    {
        m_program = std::make_unique<ProgramFixture>();
        QVERIFY(m_program->started());
        window = m_program->window();
        window->resize(1000, 700);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    void cleanup() { m_program.reset(); }

    // On every page, whatever pages there are, Tab from the page tabs reaches every control
    // once, from the top right to the bottom left, and comes back to the page tabs.
    void tabFollowsReadingOrder()
    {
        QTabBar *pageTabs = window->PageControl1->tabBar();
        for (int i = 0; i < window->PageControl1->count(); ++i) {
            window->PageControl1->setCurrentIndex(i);
            QWidget *page = window->PageControl1->widget(i);
            QCoreApplication::processEvents();
            pageTabs->setFocus(Qt::TabFocusReason);
            QList<QWidget *> reached;
            for (int step = 0; step < 200; ++step) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QWidget *focus = QApplication::focusWidget();
                if (focus == pageTabs || !page->isAncestorOf(focus) || reached.contains(focus))
                    break;
                reached.append(focus);
            }
            QCOMPARE(QApplication::focusWidget(), pageTabs);
            const QList<QWidget *> stops = tabStops(page);
            for (QWidget *stop : stops)
                QVERIFY2(reached.contains(stop),
                         qPrintable(page->objectName() + ": Tab never reaches " + describe(stop)));
            for (qsizetype a = 0; a < reached.size(); ++a)
                for (qsizetype b = a + 1; b < reached.size(); ++b)
                    QVERIFY2(!readBefore(reached[b], reached[a], page),
                             qPrintable(page->objectName() + ": " + describe(reached[a]) +
                                        " is reached before " + describe(reached[b])));
        }
    }

    // The go-to box lists the verse's sura with the verse current, so previous and next
    // walk on from it; a text naming no verse is answered in Persian and changes nothing.
    void gotoBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sura");
        QTest::addColumn<QString>("verse");
        QTest::newRow("Persian digits") << QString::fromUtf8("۲:۲۵۵") << "2"
                                        << "255";
        QTest::newRow("ASCII digits") << QStringLiteral("2:255") << "2"
                                      << "255";
        QTest::newRow("name") << QString::fromUtf8("بقره ۲۵۵") << "2"
                              << "255";
        QTest::newRow("name with article") << QString::fromUtf8("البقره ۲۵۵") << "2"
                                           << "255";
        QTest::newRow("two words, Arabic digits") << QString::fromUtf8("آل عمران ٧") << "3"
                                                  << "7";
        QTest::newRow("Persian spelling") << QString::fromUtf8("سوره کهف آیه 10") << "18"
                                          << "10";
        QTest::newRow("junk") << QStringLiteral("hello") << ""
                              << "";
        QTest::newRow("verse past the sura's end") << QString::fromUtf8("بقره ۲۸۷") << ""
                                                   << "";
        QTest::newRow("sura 115") << QStringLiteral("115:1") << ""
                                  << "";
        QTest::newRow("no verse") << QString::fromUtf8("بقره") << ""
                                  << "";
        QTest::newRow("SQL") << QStringLiteral("2:255'); DROP TABLE main; --") << ""
                             << "";
    }
    void gotoBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, sura);
        QFETCH(QString, verse);
        MemoryDialogs dialogs;
        QuranPage *page = window->TabSheet1.get();
        page->ListBox5->setCurrentRow(35); // sura 36, listed
        m_program->verses()->next();
        const QStringList statement = m_program->verses()->sql();
        page->GotoBox->setFocus();
        page->GotoBox->setText(typed);
        QTest::keyClick(page->GotoBox, Qt::Key_Return);
        QCOMPARE(page->GotoBox->text(), typed);
        if (sura.isEmpty()) {
            QCOMPARE(dialogs.texts().size(), 1);
            QVERIFY(dialogs.texts().first().contains(QString::fromUtf8("آيه")));
            QCOMPARE(m_program->verses()->sql(), statement);
            QCOMPARE(current("chapter"), QStringLiteral("36"));
            QCOMPARE(current("vers"), QStringLiteral("2"));
            return;
        }
        QVERIFY(dialogs.texts().isEmpty());
        QCOMPARE(current("chapter"), sura);
        QCOMPARE(current("vers"), verse);
        QCOMPARE(page->ListBox5->currentRow(), sura.toInt() - 1);
        page->BitBtn2->click();
        QCOMPARE(current("vers"), QString::number(verse.toInt() + 1));
        page->BitBtn1->click();
        page->BitBtn1->click();
        QCOMPARE(current("vers"), QString::number(verse.toInt() - 1));
    }

    // The continuous display box switches the view whichever way it is ticked: the
    // accessibility action of a screen reader, Space, or a click; the radios likewise.
    void continuousDisplayFollowsEveryToggle()
    {
        QuranPage *page = window->TabSheet1.get();
        QAccessibleInterface *box = QAccessible::queryAccessibleInterface(page->CheckBox1);
        QVERIFY(box && box->actionInterface());
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QTRY_VERIFY(page->CheckBox1->isChecked());
        QCOMPARE(page->Views->currentWidget(), page->DbAltGrid3);
        page->CheckBox1->setFocus();
        QTest::keyClick(page->CheckBox1, Qt::Key_Space);
        QVERIFY(!page->CheckBox1->isChecked());
        QCOMPARE(page->Views->currentWidget(), page->Panes);

        // The Nahj page's view radios likewise.
        NahjPage *nahj = window->TabSheet2.get();
        window->setActivePage(nahj);
        QAccessibleInterface *radio = QAccessible::queryAccessibleInterface(nahj->RadioButton7);
        QVERIFY(radio && radio->actionInterface());
        radio->actionInterface()->doAction(radio->actionInterface()->actionNames().first());
        QTRY_VERIFY(nahj->RadioButton7->isChecked());
        QVERIFY(nahj->DBMemo4->isHidden());

        // The search page's scope radios: a scope chosen closes the results of the last one.
        MemoryDialogs dialogs;
        SearchPage *search = window->TabSheet3.get();
        window->setActivePage(search);
        search->BitBtn5->click();
        DataSet *results = kevran::DataModule2->ADOQuery2;
        QVERIFY(results->isActive());
        QAccessibleInterface *scope = QAccessible::queryAccessibleInterface(search->s4);
        scope->actionInterface()->doAction(scope->actionInterface()->actionNames().first());
        QTRY_VERIFY(search->s4->isChecked());
        QVERIFY(!results->isActive());
    }

    // A topic button takes the focus and Return lists its topic.
    void topicButtonsFromTheKeyboard()
    {
        QuranPage *page = window->TabSheet1.get();
        page->PageControl2->setCurrentWidget(page->TabSheet7);
        auto *heaven = page->findChild<FlatButton *>(QStringLiteral("yy"));
        heaven->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), heaven);
        QTest::keyClick(heaven, Qt::Key_Return);
        QCOMPARE(page->Topic->text(), heaven->text());
        QVERIFY(m_program->verses()->recordCount() > 0);
    }

    // The launcher: the first button has the focus, Down moves it, Return opens that page.
    void launcherFromTheKeyboard()
    {
        window->hide();
        Tfrm_main *launcher = kevran::frm_main;
        launcher->show();
        QVERIFY(QTest::qWaitForWindowActive(launcher));
        QCOMPARE(QApplication::focusWidget(), launcher->AdvToolButton3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), launcher->AdvToolButton4);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!launcher->isVisible());
        QVERIFY(window->isVisible());
        QCOMPARE(window->PageControl1->currentWidget(), window->TabSheet2.get());
    }

    // F1 shows the about page; Ctrl+Q ends the program as closing the window does.
    void shortcuts()
    {
        QTest::keyClick(window, Qt::Key_F1);
        QCOMPARE(window->PageControl1->currentWidget(), window->TabSheet6.get());
        QVERIFY(!Program::terminationRequested());
        QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(Program::terminationRequested());
        QVERIFY(!window->isVisible());
    }

    // Escape closes the program's message boxes; a question answers No.
    void escapeClosesDialogs()
    {
        SystemDialogs system;
        const auto escapeSoon = [] {
            QTimer::singleShot(0, [] {
                QTRY_VERIFY(QApplication::activeModalWidget());
                QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
            });
        };
        escapeSoon();
        system.message(window, QStringLiteral("kevran"), QStringLiteral("message"));
        escapeSoon();
        system.error(window, QStringLiteral("kevran"), QStringLiteral("error"));
        escapeSoon();
        QVERIFY(!system.confirm(window, QStringLiteral("kevran"), QStringLiteral("question?")));
    }
};

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
