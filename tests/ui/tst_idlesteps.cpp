#include "ui/main/IdleSteps.h"

#include <QEventLoop>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

// Steps run one at a time once the window has painted, each when the event loop is about to
// wait, and never inside one another.
class tst_IdleSteps : public QObject {
    Q_OBJECT

    static void spin(int ms)
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }

private slots:
    // A step that waits in an event loop of its own, as a message shown does, is not joined by
    // the next step; the steps still all run, in order, and the object goes when done.
    void aStepWaitingInItsOwnLoopIsNotJoined()
    {
        QWidget window;
        QStringList ran;
        bool inStep = false;
        bool overlapped = false;
        QPointer<IdleSteps> steps = new IdleSteps(
            &window,
            [&, next = 0]() mutable {
                overlapped = overlapped || inStep;
                inStep = true;
                ran << QString::number(next);
                if (next == 0)
                    spin(50);
                inStep = false;
                return ++next < 3;
            },
            &window);
        spin(20);
        QVERIFY(ran.isEmpty()); // nothing before the first paint
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The steps run when the event loop is about to wait, as it does in exec().
        for (int i = 0; i < 100 && !steps.isNull(); ++i)
            spin(20);
        QCOMPARE(ran, QStringList({"0", "1", "2"}));
        QVERIFY(!overlapped);
        QVERIFY(steps.isNull());
    }
};

QTEST_MAIN(tst_IdleSteps)
#include "tst_idlesteps.moc"
