#include "doubles/MemoryDialogs.h"
#include "support/ProgramFixture.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/search/SearchPage.h"

#include <QFontInfo>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTest>
#include <QTextEdit>
#include <QWheelEvent>

namespace {

void wheel(QWidget *view, int notches, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    const QPointF at(10, 10);
    QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view, &event);
}

} // namespace

// Ctrl with the wheel, plus, minus and 0 over the Quran page, the Nahj panes and the search
// result view.
class tst_ZoomKeys : public QObject {
    Q_OBJECT

private slots:
    void zoom()
    {
        MemoryDialogs dialogs;
        ProgramFixture program;
        QVERIFY(program.started());
        Tmain *window = program.window();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        // The Quran page: the size bar moves, within 8 to 16; the panes take its size and no
        // zoom of their own.
        QuranPage *quran = window->TabSheet1.get();
        window->setActivePage(quran);
        QTest::keyClick(quran->DBMemo2, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(quran->DBMemo2, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(quran->TrackBar3->value(), 10);
        wheel(quran->DBMemo1->viewport(), 3);
        QCOMPARE(quran->TrackBar3->value(), 13);
        QCOMPARE(quran->DBMemo1->font().pointSize(), 13);
        wheel(quran->DBMemo1->viewport(), 10);
        QCOMPARE(quran->TrackBar3->value(), 16);
        QTest::keyClick(quran->ListBox5, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(quran->TrackBar3->value(), 15);
        QTest::keyClick(quran->DBMemo2, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(quran->TrackBar3->value(), 8);
        QCOMPARE(quran->DBMemo2->font().pointSize(), 8);
        wheel(quran->DBMemo1->viewport(), -2);
        QCOMPARE(quran->TrackBar3->value(), 8);
        wheel(quran->DBMemo1->viewport(), 2, Qt::NoModifier); // scrolls only
        QCOMPARE(quran->TrackBar3->value(), 8);

        // The Nahj panes move their own size bar.
        NahjPage *nahj = window->TabSheet2.get();
        window->setActivePage(nahj);
        wheel(nahj->DBMemo3->viewport(), 2);
        QCOMPARE(nahj->TrackBar1->value(), 10);
        QCOMPARE(nahj->DBMemo4->font().pointSize(), 10);
        QTest::keyClick(nahj->DBMemo4, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(nahj->TrackBar1->value(), 8);

        // The search result view: a point a step, back to the window's font on Ctrl+0.
        SearchPage *search = window->TabSheet3.get();
        window->setActivePage(search);
        const QFont before = search->DBRichEdit1->font();
        QTest::keyClick(search->DBRichEdit1, Qt::Key_Plus, Qt::ControlModifier);
        wheel(search->DBRichEdit1->viewport(), 1);
        QCOMPARE(search->DBRichEdit1->font().pointSize(),
                 qRound(QFontInfo(before).pointSizeF()) + 2);
        QTest::keyClick(search->DBRichEdit1, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(search->DBRichEdit1->font().pointSize(),
                 qRound(QFontInfo(before).pointSizeF()) + 1);
        QTest::keyClick(search->DBRichEdit1, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(search->DBRichEdit1->font(), before);
    }
};

QTEST_MAIN(tst_ZoomKeys)
#include "tst_zoomkeys.moc"
