#include "support/Typing.h"
#include "ui/main/DefaultButton.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

// Enter on a page: it presses the button that has the focus, or else the page's default button,
// wherever on the page it was pressed.
class tst_DefaultButton : public QObject {
    Q_OBJECT

    struct Page {
        QWidget window;
        QWidget *page;
        QLineEdit *box;
        QPushButton *search;
        QPushButton *other;
        QCheckBox *check;
        QLineEdit *outside; // beside the page, in the same window

        Page()
            : page(new QWidget)
            , box(new QLineEdit(page))
            , search(new QPushButton(QStringLiteral("جستجو"), page))
            , other(new QPushButton(QStringLiteral("آيه بعد"), page))
            , check(new QCheckBox(QStringLiteral("پيوسته"), page))
            , outside(new QLineEdit)
        {
            auto *inner = new QVBoxLayout(page);
            for (QWidget *w : {static_cast<QWidget *>(box), static_cast<QWidget *>(search),
                               static_cast<QWidget *>(other), static_cast<QWidget *>(check)})
                inner->addWidget(w);
            auto *layout = new QVBoxLayout(&window);
            layout->addWidget(page);
            layout->addWidget(outside);
            DefaultButton::install(page, search);
            window.show();
            window.activateWindow();
        }
    };

private slots:
    void enterPressesTheDefaultButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    }
    void enterPressesTheDefaultButton()
    {
        QFETCH(int, key);
        Page p;
        QVERIFY(QTest::qWaitForWindowActive(&p.window));
        QSignalSpy search(p.search, &QPushButton::clicked);
        QSignalSpy other(p.other, &QPushButton::clicked);
        p.box->setFocus();
        typeText(p.box, QStringLiteral("مؤمن‌ها ۱۲"));
        QTest::keyClick(p.box, Qt::Key(key));
        QCOMPARE(search.count(), 1);
        QCOMPARE(other.count(), 0);
        // The typed text stays as it was.
        QCOMPARE(p.box->text(), QStringLiteral("مؤمن‌ها ۱۲"));
    }

    void enterPressesTheFocusedButton()
    {
        Page p;
        QVERIFY(QTest::qWaitForWindowActive(&p.window));
        QSignalSpy search(p.search, &QPushButton::clicked);
        QSignalSpy other(p.other, &QPushButton::clicked);
        p.other->setFocus();
        QTest::keyClick(p.other, Qt::Key_Return);
        QCOMPARE(other.count(), 1);
        QCOMPARE(search.count(), 0);
        // A check box with the focus is a button too: Enter toggles it.
        p.check->setFocus();
        QTest::keyClick(p.check, Qt::Key_Enter);
        QVERIFY(p.check->isChecked());
        QCOMPARE(search.count(), 0);
    }

    void otherKeysAndOtherPlacesAreLeftAlone()
    {
        Page p;
        QVERIFY(QTest::qWaitForWindowActive(&p.window));
        QSignalSpy search(p.search, &QPushButton::clicked);
        p.box->setFocus();
        QTest::keyClick(p.box, Qt::Key_Escape);
        QTest::keyClick(p.box, Qt::Key_Tab);
        QTest::keyClick(p.box, Qt::Key_A);
        // Enter outside the page does not reach it.
        p.outside->setFocus();
        QTest::keyClick(p.outside, Qt::Key_Return);
        QCOMPARE(search.count(), 0);
        // A disabled default button is not pressed.
        p.search->setEnabled(false);
        p.box->setFocus();
        QTest::keyClick(p.box, Qt::Key_Return);
        QCOMPARE(search.count(), 0);
    }
};

QTEST_MAIN(tst_DefaultButton)
#include "tst_defaultbutton.moc"
