#include "app/PlatformChoice.h"
#include "app/QtTranslation.h"
#include "platform/FontChooserDialog.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

// How the program meets the desktop before its windows: which platform plug-in it starts on,
// and Qt's own texts in Persian.
class tst_Desktop : public QObject {
    Q_OBJECT

private slots:
    void platformChoice_data()
    {
        QTest::addColumn<QByteArray>("qpa");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("session");
        QTest::addColumn<QStringList>("plugins");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<bool>("message");
        QTest::addColumn<bool>("canStart");
        const QStringList both{"wayland", "xcb"}, xcb{"xcb"}, none;
        QTest::newRow("named by the reader")
            << QByteArray("offscreen") << QByteArray("wayland-0") << QByteArray()
            << QByteArray("wayland") << none << QByteArray() << false << true;
        QTest::newRow("Wayland with XWayland")
            << QByteArray() << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("wayland")
            << both << QByteArray("wayland;xcb") << false << true;
        QTest::newRow("Wayland alone")
            << QByteArray() << QByteArray("wayland-0") << QByteArray() << QByteArray() << both
            << QByteArray("wayland") << false << true;
        QTest::newRow("no Wayland plug-in: XWayland")
            << QByteArray() << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("wayland")
            << xcb << QByteArray("xcb") << true << true;
        QTest::newRow("no Wayland plug-in, no X server")
            << QByteArray() << QByteArray("wayland-0") << QByteArray() << QByteArray("wayland")
            << xcb << QByteArray() << true << false;
        QTest::newRow("no compositor")
            << QByteArray() << QByteArray("nowhere") << QByteArray() << QByteArray("wayland")
            << both << QByteArray() << true << false;
        QTest::newRow("X11 session") << QByteArray() << QByteArray() << QByteArray(":0")
                                     << QByteArray("x11") << both << QByteArray() << false << true;
        QTest::newRow("no display at all")
            << QByteArray() << QByteArray() << QByteArray() << QByteArray("tty") << both
            << QByteArray() << true << false;
    }
    void platformChoice()
    {
        QFETCH(QByteArray, qpa);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, session);
        QFETCH(QStringList, plugins);
        QFETCH(QByteArray, platform);
        QFETCH(bool, message);
        QFETCH(bool, canStart);
        const PlatformChoice::Choice choice = PlatformChoice::choose(
            {qpa, wayland, display, session,
             QTest::currentDataTag() != QByteArray("no compositor")},
            [&plugins](const QString &plugin) { return plugins.contains(plugin); });
        QCOMPARE(choice.platform, platform);
        QCOMPARE(!choice.message.isEmpty(), message);
        QCOMPARE(choice.canStart, canStart);
        if (message)
            QVERIFY(choice.message.contains(QStringLiteral("qt6-wayland")) ||
                    choice.message.contains(QStringLiteral("DISPLAY")));
        // Whatever it says is said in Persian first.
        QVERIFY(!message ||
                choice.message.contains(QRegularExpression(QStringLiteral("[\u0600-\u06FF]"))));
    }

    // Qt's texts in Persian, right to left, whatever the system's language.
    void qtSpeaksPersian()
    {
        if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                               QStringLiteral("/qtbase_fa.qm")))
            QSKIP("Qt's Persian translation (qt6-translations-l10n) is not installed");
        QVERIFY(QtTranslation::wanted(QLocale(QLocale::English)));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
        QVERIFY(QtTranslation::install(*qApp));
        QCoreApplication::processEvents();
        QVERIFY(QCoreApplication::translate("QPlatformTheme", "Cancel")
                    .contains(QRegularExpression(QStringLiteral("[\u0600-\u06FF]"))));
        QCOMPARE(QApplication::layoutDirection(), Qt::RightToLeft);
        // The message boxes' button and the font dialog.
        const QRegularExpression persian(QStringLiteral("[\u0600-\u06FF]"));
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("kevran"), QStringLiteral("x"),
                        QMessageBox::Ok);
        QVERIFY(box.button(QMessageBox::Ok)->text().contains(persian));
        FontChooserDialog dialog(FontChooser::Font{}, nullptr);
        QVERIFY(dialog.windowTitle().contains(persian));
    }
};

QTEST_MAIN(tst_Desktop)
#include "tst_desktop.moc"
