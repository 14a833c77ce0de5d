#include "support/ProgramFixture.h"
#include "ui/main/Tmain.h"
#include "ui/quran/QuranPage.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

// The main window at its designed size and wider: nothing is cut off, and the strips placed
// at fixed distances keep them from the right edge, as a right-to-left page reads.
class tst_WindowSizes : public QObject {
    Q_OBJECT

private slots:
    void sizes()
    {
        ProgramFixture program;
        QVERIFY(program.started());
        Tmain *window = program.window();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QuranPage *quran = window->TabSheet1.get();
        DisplaySettingsPage *settings = window->TabSheet5.get();

        window->resize(400, 300);
        QCoreApplication::processEvents();
        QVERIFY(window->width() >= 799 && window->height() >= 570);
        // Every control of the Quran page lies inside it.
        const QRect page = quran->rect();
        for (QWidget *widget : quran->findChildren<QWidget *>()) {
            if (!widget->isVisibleTo(window) || widget->parentWidget() == nullptr ||
                widget->parentWidget()->isWindow())
                continue;
            const QRect rect(widget->mapTo(quran, QPoint(0, 0)), widget->size());
            if (qobject_cast<QLineEdit *>(widget) || qobject_cast<QGroupBox *>(widget))
                QVERIFY2(page.contains(rect), qPrintable(widget->objectName()));
        }

        for (const int width : {1000, 1920}) {
            window->resize(width, 900);
            window->setActivePage(settings);
            QCoreApplication::processEvents();
            const auto rightMargin = [](QWidget *widget) {
                return widget->parentWidget()->width() - widget->geometry().right() - 1;
            };
            QCOMPARE(rightMargin(quran->GroupBox8), 783 - 775);
            QCOMPARE(rightMargin(quran->CheckBox1), 783 - 769);
            QCOMPARE(rightMargin(settings->FontFrame), 783 - 625);
        }
    }
};

QTEST_MAIN(tst_WindowSizes)
#include "tst_windowsizes.moc"
