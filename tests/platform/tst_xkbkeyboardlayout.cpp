#include "platform/XkbKeyboardLayout.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

using Group = XkbKeyboardLayout::Group;
using Groups = QList<Group>;

namespace {
// A virtual X server of this test's own. The server picks a free display itself and names it,
// so test runs side by side never share one.
class VirtualServer {
public:
    ~VirtualServer() { stop(); }

    bool start(const QString &program)
    {
        m_process.start(program, {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                  QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                  QStringLiteral("-screen"), QStringLiteral("0"),
                                  QStringLiteral("320x240x24")});
        if (!m_process.waitForStarted(5000))
            return false;
        const QDeadlineTimer deadline(10000);
        QByteArray number;
        while (!number.endsWith('\n') && !deadline.hasExpired() &&
               m_process.state() == QProcess::Running) {
            m_process.waitForReadyRead(100);
            number += m_process.readAllStandardOutput();
        }
        if (!number.endsWith('\n')) {
            stop();
            return false;
        }
        m_name = ":" + number.trimmed();
        return true;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    const QByteArray &name() const { return m_name; }

private:
    QProcess m_process;
    QByteArray m_name;
};
} // namespace

// Switching the keyboard group through XKB: the description parsing without a server, the
// switching itself on a virtual X server with a keymap set up the way a desktop does it.
class tst_XkbKeyboardLayout : public QObject {
    Q_OBJECT

    VirtualServer m_server;
    QString m_setxkbmap;
    Display *m_display = nullptr; // the test's own connection, to read the state back

    void setLayouts(const QString &layouts, const QString &variants = QString())
    {
        QStringList arguments = {QStringLiteral("-display"), QString::fromLatin1(m_server.name()),
                                 QStringLiteral("-layout"), layouts};
        if (!variants.isNull())
            arguments << QStringLiteral("-variant") << variants;
        QProcess setxkbmap;
        setxkbmap.start(m_setxkbmap, arguments);
        QVERIFY(setxkbmap.waitForFinished(10000));
        QVERIFY2(setxkbmap.exitCode() == 0, setxkbmap.readAllStandardError().constData());
        // Every test starts from the first group.
        XkbLockGroup(m_display, XkbUseCoreKbd, 0);
        XSync(m_display, False);
    }

    int lockedGroup() const
    {
        XkbStateRec state{};
        XkbGetState(m_display, XkbUseCoreKbd, &state);
        return state.locked_group;
    }

    QByteArray rootRulesNames() const
    {
        const Atom property = XInternAtom(m_display, "_XKB_RULES_NAMES", False);
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long remaining = 0;
        unsigned char *data = nullptr;
        XGetWindowProperty(m_display, DefaultRootWindow(m_display), property, 0, 1024, False,
                           XA_STRING, &type, &format, &items, &remaining, &data);
        const QByteArray result(reinterpret_cast<const char *>(data), int(items));
        XFree(data);
        return result;
    }

private slots:
    void rulesNames_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<Groups>("groups");
        QTest::newRow("two") << QByteArray("evdev\0pc105\0us,ir\0,\0\0", 21)
                             << Groups{{"us", ""}, {"ir", ""}};
        QTest::newRow("variants") << QByteArray("evdev\0pc105\0de,ir\0nodeadkeys,pes_keypad\0grp:"
                                                "alt_shift_toggle\0",
                                                57)
                                  << Groups{{"de", "nodeadkeys"}, {"ir", "pes_keypad"}};
        QTest::newRow("no variants")
            << QByteArray("evdev\0pc105\0us\0\0\0", 17) << Groups{{"us", ""}};
        QTest::newRow("no layouts") << QByteArray("evdev\0pc105\0\0\0\0", 15) << Groups{};
        QTest::newRow("cut short") << QByteArray("evdev\0pc105", 11) << Groups{};
    }
    void rulesNames()
    {
        QFETCH(QByteArray, property);
        QFETCH(Groups, groups);
        QCOMPARE(XkbKeyboardLayout::groupsFromRulesNames(property), groups);
    }

    void symbols_data()
    {
        QTest::addColumn<QString>("symbols");
        QTest::addColumn<Groups>("groups");
        QTest::newRow("two") << "pc+us+ir:2+inet(evdev)" << Groups{{"us", ""}, {"ir", ""}};
        QTest::newRow("three with options")
            << "pc+de(nodeadkeys)+us:2+ir(pes_keypad):3+inet(evdev)+group(alt_shift_toggle)"
            << Groups{{"de", "nodeadkeys"}, {"us", ""}, {"ir", "pes_keypad"}};
        QTest::newRow("one") << "pc+ir+inet(evdev)+capslock(swapescape)" << Groups{{"ir", ""}};
        QTest::newRow("indexed first") << "pc+ir:1+us:2" << Groups{{"ir", ""}, {"us", ""}};
        QTest::newRow("options only") << "pc+inet(evdev)" << Groups{};
        QTest::newRow("empty") << "" << Groups{};
    }
    void symbols()
    {
        QFETCH(QString, symbols);
        QFETCH(Groups, groups);
        QCOMPARE(XkbKeyboardLayout::groupsFromSymbols(symbols), groups);
    }

    void groupFor_data()
    {
        QTest::addColumn<QString>("layoutId");
        QTest::addColumn<Groups>("groups");
        QTest::addColumn<int>("group");
        const Groups usIr = {{"us", ""}, {"ir", ""}};
        QTest::newRow("persian second") << KeyboardLayout::Persian << usIr << 1;
        QTest::newRow("us first") << KeyboardLayout::US << usIr << 0;
        QTest::newRow("persian keypad")
            << KeyboardLayout::Persian << Groups{{"de", ""}, {"ir", "pes_keypad"}} << 1;
        QTest::newRow("kurdish is not persian")
            << KeyboardLayout::Persian << Groups{{"us", ""}, {"ir", "ku"}} << -1;
        QTest::newRow("dvorak is not us")
            << KeyboardLayout::US << Groups{{"us", "dvorak"}, {"ir", ""}, {"us", ""}} << 2;
        QTest::newRow("no persian") << KeyboardLayout::Persian << Groups{{"us", ""}} << -1;
        QTest::newRow("german layout id") << QStringLiteral("00000407") << usIr << -1;
        QTest::newRow("no groups") << KeyboardLayout::US << Groups{} << -1;
    }
    void groupFor()
    {
        QFETCH(QString, layoutId);
        QFETCH(Groups, groups);
        QFETCH(int, group);
        QCOMPARE(XkbKeyboardLayout::groupFor(layoutId, groups), group);
    }

    void withoutDisplayDoesNothing()
    {
        XkbKeyboardLayout layouts(QByteArrayLiteral(":4711"));
        QVERIFY(!layouts.isConnected());
        layouts.activate(KeyboardLayout::Persian);
        QVERIFY(layouts.groups().isEmpty());
    }

    void onVirtualServer_data()
    {
        QTest::addColumn<QString>("layouts");
        QTest::addColumn<QString>("variants");
        QTest::addColumn<QStringList>("activated");
        QTest::addColumn<QList<int>>("groups");
        const QString fa = KeyboardLayout::Persian;
        const QString en = KeyboardLayout::US;
        QTest::newRow("us,ir") << "us,ir" << QString() << QStringList{fa, en, fa, fa}
                               << QList<int>{1, 0, 1, 1};
        QTest::newRow("ir,us") << "ir,us" << QString() << QStringList{en, fa} << QList<int>{1, 0};
        QTest::newRow("de,us,ir(pes_keypad)")
            << "de,us,ir"
            << ",,pes_keypad" << QStringList{fa, en} << QList<int>{2, 1};
        // Without a Persian group the keyboard stays where it is.
        QTest::newRow("de,us") << "de,us" << QString() << QStringList{en, fa} << QList<int>{1, 1};
        QTest::newRow("us only") << "us" << QString() << QStringList{fa, en} << QList<int>{0, 0};
        QTest::newRow("other layout id")
            << "us,ir" << QString() << QStringList{fa, QStringLiteral("00000407")}
            << QList<int>{1, 1};
    }
    void onVirtualServer()
    {
        QFETCH(QString, layouts);
        QFETCH(QString, variants);
        QFETCH(QStringList, activated);
        QFETCH(QList<int>, groups);
        if (!m_display) {
            const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
            m_setxkbmap = QStandardPaths::findExecutable(QStringLiteral("setxkbmap"));
            if (xvfb.isEmpty() || m_setxkbmap.isEmpty())
                QSKIP("Xvfb or setxkbmap is not installed (packages xvfb, x11-xkb-utils)");
            QVERIFY2(m_server.start(xvfb), "Xvfb did not start on any free display");
            m_display = XOpenDisplay(m_server.name().constData());
            QVERIFY(m_display);
        }
        setLayouts(layouts, variants);
        const QByteArray configured = rootRulesNames();
        QVERIFY(configured.contains(layouts.toLatin1()));

        XkbKeyboardLayout keyboard(m_server.name());
        QVERIFY(keyboard.isConnected());
        for (int i = 0; i < activated.size(); ++i) {
            keyboard.activate(activated[i]);
            QCOMPARE(lockedGroup(), groups[i]);
        }
        // Only the group changed, never the layouts the user configured.
        QCOMPARE(rootRulesNames(), configured);
    }

    void keymapLoadedWithoutRules()
    {
        if (!m_display)
            QSKIP("needs the virtual server of onVirtualServer");
        // A keymap loaded behind the rules' back leaves a stale property: the keymap decides.
        setLayouts(QStringLiteral("us,ir"));
        QProcess compile;
        compile.start(QStringLiteral("sh"),
                      {QStringLiteral("-c"),
                       QStringLiteral("setxkbmap -display %1 -layout ir,de -print | xkbcomp - %1")
                           .arg(QString::fromLatin1(m_server.name()))});
        QVERIFY(compile.waitForFinished(10000));
        if (compile.exitCode() != 0)
            QSKIP("xkbcomp could not load the keymap");
        QVERIFY(rootRulesNames().contains("us,ir"));
        XkbKeyboardLayout keyboard(m_server.name());
        QCOMPARE(keyboard.groups(), (Groups{{"ir", ""}, {"de", ""}}));
        keyboard.activate(KeyboardLayout::Persian);
        QCOMPARE(lockedGroup(), 0);
        keyboard.activate(KeyboardLayout::US);
        QCOMPARE(lockedGroup(), 0);
    }

    void cleanupTestCase()
    {
        if (m_display)
            XCloseDisplay(m_display);
        m_server.stop();
    }
};

QTEST_GUILESS_MAIN(tst_XkbKeyboardLayout)
#include "tst_xkbkeyboardlayout.moc"
