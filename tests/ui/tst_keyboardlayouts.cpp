#include "doubles/MemoryKeyboardLayout.h"
#include "support/ProgramFixture.h"
#include "ui/main/Tmain.h"

#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>

// Every entry box meant for Persian text switches to the Persian keyboard layout when it gets
// the focus, and the e-mail field to the US one; the boxes are found by name, on whichever
// page holds them.
class tst_KeyboardLayouts : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> m_program;

    // Brings every tab that holds the widget to the front, innermost last.
    static void reveal(QWidget *widget)
    {
        QList<QPair<QTabWidget *, QWidget *>> tabs;
        for (QWidget *child = widget; child; child = child->parentWidget()) {
            auto *stack = qobject_cast<QStackedWidget *>(child->parentWidget());
            auto *owner = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
            if (owner)
                tabs.prepend({owner, child});
        }
        for (const auto &[owner, page] : tabs)
            owner->setCurrentWidget(page);
    }

private slots:
    void init()
    {
        m_program = std::make_unique<ProgramFixture>();
        QVERIFY(m_program->started());
        m_program->window()->resize(900, 700);
        m_program->window()->show();
        QVERIFY(QTest::qWaitForWindowActive(m_program->window()));
    }
    void cleanup() { m_program.reset(); }

    void enteringABox_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("layout");
        QTest::newRow("sura box") << "chapter" << KeyboardLayout::Persian;
        QTest::newRow("quick search box") << "Edit1" << KeyboardLayout::Persian;
        QTest::newRow("search box") << "Edit2" << KeyboardLayout::Persian;
        QTest::newRow("name field") << "dbEdit1" << KeyboardLayout::Persian;
        QTest::newRow("e-mail field") << "ledFrom" << KeyboardLayout::US;
    }
    void enteringABox()
    {
        QFETCH(QString, box);
        QFETCH(QString, layout);
        auto *widget = m_program->window()->findChild<QWidget *>(box);
        if (!widget)
            QSKIP(qPrintable(QStringLiteral("no widget named %1 on the main window yet").arg(box)));
        reveal(widget);
        QVERIFY(widget->isVisible());
        widget->clearFocus();
        QVERIFY(!widget->hasFocus());

        MemoryKeyboardLayout layouts;
        widget->setFocus(Qt::TabFocusReason);
        QVERIFY(widget->hasFocus());
        QCOMPARE(layouts.activated(), QStringList(layout));

        // Leaving the box does not switch back.
        widget->clearFocus();
        QCOMPARE(layouts.activated(), QStringList(layout));
    }
};

QTEST_MAIN(tst_KeyboardLayouts)
#include "tst_keyboardlayouts.moc"
