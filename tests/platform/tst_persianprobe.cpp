#include "app/PersianSupportProbe.h"
#include "app/Program.h"
#include "doubles/MemoryDialogs.h"
#include "doubles/MemoryRegistry.h"
#include "doubles/MemoryShell.h"
#include "doubles/MemoryVersionQuery.h"
#include "platform/SystemVersionQuery.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <memory>

using Root = Registry::Root;

namespace {
const QString LanguagePack =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\LanguagePack");
const QString Language = QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Nls\\Language");
const QString CodePage = QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage");
const QString PersianKeyboard =
    QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Keyboard Layouts\\00000429");
const QString Preload = QStringLiteral("Keyboard Layout\\Preload");
const QString International = QStringLiteral("Control Panel\\International");
const QString Geo = QStringLiteral("Control Panel\\International\\Geo");

struct TextSetting {
    Root root;
    QString key;
    const char *name;
    const char *value;
    bool exact;
};

// Every text value the probe compares, as a system set up for Persian has it.
const QList<TextSetting> &textSettings()
{
    static const QList<TextSetting> settings = {
        {Root::LocalMachine, Language, "Default", "0429", true},
        {Root::LocalMachine, CodePage, "ACP", "1256", true},
        {Root::LocalMachine, CodePage, "MACCP", "10004", true},
        {Root::LocalMachine, CodePage, "OEMCP", "720", true},
        {Root::LocalMachine, CodePage, "10004", "c_10004.nls", false},
        {Root::LocalMachine, CodePage, "1256", "c_1256.nls", false},
        {Root::LocalMachine, CodePage, "708", "c_708.nls", false},
        {Root::LocalMachine, CodePage, "720", "c_720.nls", false},
        {Root::LocalMachine, PersianKeyboard, "Layout File", "kbdfa.dll", false},
        {Root::LocalMachine, PersianKeyboard, "Layout Text", "farsi", false},
        {Root::CurrentUser, Preload, "1", "00000429", true},
        {Root::CurrentUser, International, "sCountry", "iran", false},
        {Root::CurrentUser, International, "sLanguage", "far", false},
        {Root::CurrentUser, Geo, "Nation", "116", true},
    };
    return settings;
}

void setUpForPersian(MemoryRegistry &registry)
{
    registry.setInteger(Root::LocalMachine, LanguagePack, QStringLiteral("ARABIC"), 0);
    for (const TextSetting &s : textSettings())
        registry.setText(s.root, s.key, QLatin1String(s.name), QLatin1String(s.value));
}

const TextSetting &setting(const char *name)
{
    for (const TextSetting &s : textSettings()) {
        if (qstrcmp(s.name, name) == 0)
            return s;
    }
    qFatal("no setting %s", name);
}
} // namespace

// The Persian support probe against an in-memory registry and version.
class tst_PersianProbe : public QObject {
    Q_OBJECT

    std::unique_ptr<MemoryRegistry> registry;
    std::unique_ptr<MemoryVersionQuery> version;

    bool installed() const
    {
        const bool answer = PersianSupportProbe::isPersianInstalled();
        // One key at a time, and none left open whatever the answer.
        [&] {
            QVERIFY(registry->mostOpenAtOnce() <= 1);
            QCOMPARE(registry->openCount(), 0);
        }();
        return answer;
    }

private slots:
    void init()
    {
        Program::setUpApplication(*qApp);
        registry = std::make_unique<MemoryRegistry>();
        version = std::make_unique<MemoryVersionQuery>();
        setUpForPersian(*registry);
    }
    void cleanup()
    {
        version.reset();
        registry.reset();
    }

    void isXP_data()
    {
        QTest::addColumn<int>("platformId");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<bool>("xp");
        QTest::newRow("XP") << 2 << 5 << 1 << true;
        QTest::newRow("2000") << 2 << 5 << 0 << false;
        QTest::newRow("Server 2003") << 2 << 5 << 2 << false;
        QTest::newRow("Vista") << 2 << 6 << 0 << false;
        QTest::newRow("NT 4") << 2 << 4 << 1 << false;
        QTest::newRow("9x family") << 1 << 5 << 1 << false;
        QTest::newRow("Win32s") << 0 << 5 << 1 << false;
        QTest::newRow("not Windows") << PlatformVersion::OtherPlatform << 5 << 1 << false;
    }
    void isXP()
    {
        QFETCH(int, platformId);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(bool, xp);
        version->setVersion(platformId, major, minor);
        QCOMPARE(PersianSupportProbe::IsXP(), xp);
    }

    void linuxIsNeverXP()
    {
        version.reset();
        // A kernel can be numbered 5.1 too; the platform is what tells.
        QCOMPARE(SystemVersionQuery().version().platformId, PlatformVersion::OtherPlatform);
        QVERIFY(!PersianSupportProbe::IsXP());
    }

    void completeSetUpPasses()
    {
        QVERIFY(installed());
        QCOMPARE(
            registry->opened(),
            QStringList(
                {QStringLiteral("HKLM\\") + LanguagePack, QStringLiteral("HKLM\\") + Language,
                 QStringLiteral("HKLM\\") + CodePage, QStringLiteral("HKLM\\") + PersianKeyboard,
                 QStringLiteral("HKCU\\") + Preload, QStringLiteral("HKCU\\") + International,
                 QStringLiteral("HKCU\\") + Geo}));
    }

    void systemRegistryHasNothing()
    {
        registry.reset(); // back to the system's own, which has no keys on Linux
        QVERIFY(!PersianSupportProbe::isPersianInstalled());
    }

    void languagePack_data()
    {
        QTest::addColumn<int>("change");
        QTest::newRow("missing") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("minus one") << 2;
        QTest::newRow("text 0") << 3;
        QTest::newRow("key missing") << 4;
        QTest::newRow("key read only") << 5;
    }
    void languagePack()
    {
        QFETCH(int, change);
        const QString name = QStringLiteral("ARABIC");
        switch (change) {
        case 0:
            registry->removeValue(Root::LocalMachine, LanguagePack, name);
            break;
        case 1:
            registry->setInteger(Root::LocalMachine, LanguagePack, name, 1);
            break;
        case 2:
            registry->setInteger(Root::LocalMachine, LanguagePack, name, -1);
            break;
        case 3:
            registry->setText(Root::LocalMachine, LanguagePack, name, QStringLiteral("0"));
            break;
        case 4:
            registry->removeKey(Root::LocalMachine, LanguagePack);
            break;
        case 5:
            registry->setReadOnly(Root::LocalMachine, LanguagePack);
            break;
        }
        QVERIFY(!installed());
        // The first failing check ends the probe: no other key is read.
        QCOMPARE(registry->opened(), QStringList(QStringLiteral("HKLM\\") + LanguagePack));
    }

    void textSettingsFail_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("change");
        const char *changes[] = {"missing", "integer", "binary", "empty", "padded"};
        for (int i = 0; i < textSettings().size(); ++i) {
            for (int c = 0; c < 5; ++c)
                QTest::addRow("%s %s", textSettings()[i].name, changes[c]) << i << c;
        }
    }
    void textSettingsFail()
    {
        QFETCH(int, index);
        QFETCH(int, change);
        const TextSetting &s = textSettings()[index];
        const QString name = QLatin1String(s.name);
        switch (change) {
        case 0:
            registry->removeValue(s.root, s.key, name);
            break;
        case 1:
            registry->setInteger(s.root, s.key, name, QByteArray(s.value).toInt());
            break;
        case 2:
            registry->setBinary(s.root, s.key, name, QByteArray(s.value));
            break;
        case 3:
            registry->setText(s.root, s.key, name, QString());
            break;
        case 4:
            registry->setText(s.root, s.key, name, QLatin1String(s.value) + QLatin1Char(' '));
            break;
        }
        QVERIFY(!installed());
    }

    void keysMustOpenWithFullAccess_data()
    {
        QTest::addColumn<int>("root");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("readOnly");
        const QList<QPair<Root, QString>> keys = {
            {Root::LocalMachine, Language},        {Root::LocalMachine, CodePage},
            {Root::LocalMachine, PersianKeyboard}, {Root::CurrentUser, Preload},
            {Root::CurrentUser, International},    {Root::CurrentUser, Geo}};
        for (const auto &[root, key] : keys) {
            const QByteArray tag = key.toLatin1();
            QTest::addRow("%s missing", tag.constData()) << int(root) << key << false;
            QTest::addRow("%s read only", tag.constData()) << int(root) << key << true;
        }
    }
    void keysMustOpenWithFullAccess()
    {
        QFETCH(int, root);
        QFETCH(QString, key);
        QFETCH(bool, readOnly);
        if (readOnly)
            registry->setReadOnly(Root(root), key);
        else
            registry->removeKey(Root(root), key);
        QVERIFY(!installed());
    }

    void caseRules_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("passes");
        QTest::newRow("code page file upper") << "10004"
                                              << "C_10004.NLS" << true;
        QTest::newRow("code page file mixed") << "1256"
                                              << "C_1256.Nls" << true;
        QTest::newRow("code page file 708") << "708"
                                            << "C_708.NLS" << true;
        QTest::newRow("code page file 720") << "720"
                                            << "c_720.NLS" << true;
        QTest::newRow("layout file") << "Layout File"
                                     << "KBDFA.DLL" << true;
        QTest::newRow("layout text") << "Layout Text"
                                     << "Farsi" << true;
        QTest::newRow("country") << "sCountry"
                                 << "Iran" << true;
        QTest::newRow("language") << "sLanguage"
                                  << "FAR" << true;
        // Lower-casing is no looser than that: the text must still be the same.
        QTest::newRow("layout text longer") << "Layout Text"
                                            << "Farsi (Persian)" << false;
        QTest::newRow("country other") << "sCountry"
                                       << "Iraq" << false;
        // The exact texts are digits, compared character for character.
        QTest::newRow("default without zero") << "Default"
                                              << "429" << false;
        QTest::newRow("default with prefix") << "Default"
                                             << "0x0429" << false;
        QTest::newRow("nation with zero") << "Nation"
                                          << "0116" << false;
        QTest::newRow("oem code page") << "OEMCP"
                                       << "0720" << false;
        QTest::newRow("preload short") << "1"
                                       << "429" << false;
    }
    void caseRules()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(bool, passes);
        const TextSetting &s = setting(name.toLatin1().constData());
        registry->setText(s.root, s.key, name, value);
        QCOMPARE(installed(), passes);
    }

    void preloadList_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<bool>("found");
        const QString persian = QStringLiteral("00000429");
        const QString us = QStringLiteral("00000409");
        QTest::newRow("first") << QStringList{"1", "2"} << QStringList{persian, us} << true;
        QTest::newRow("second") << QStringList{"1", "2"} << QStringList{us, persian} << true;
        QTest::newRow("after a gap") << QStringList{"1", "7"} << QStringList{us, persian} << true;
        QTest::newRow("under 999") << QStringList{"1", "999"} << QStringList{us, persian} << true;
        QTest::newRow("under 1000")
            << QStringList{"1", "1000"} << QStringList{us, persian} << false;
        QTest::newRow("only others") << QStringList{"1", "2"} << QStringList{us, us} << false;
        QTest::newRow("empty list") << QStringList{} << QStringList{} << false;
        QTest::newRow("named with a zero") << QStringList{"01"} << QStringList{persian} << false;
    }
    void preloadList()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, values);
        QFETCH(bool, found);
        registry->removeKey(Root::CurrentUser, Preload);
        registry->addKey(Root::CurrentUser, Preload);
        for (int i = 0; i < names.size(); ++i)
            registry->setText(Root::CurrentUser, Preload, names[i], values[i]);
        QCOMPARE(installed(), found);
    }

    void preloadEntryOfTheWrongKindEndsTheProbe()
    {
        // Any error inside the probe answers false, even with Persian listed after it.
        registry->setInteger(Root::CurrentUser, Preload, QStringLiteral("1"), 429);
        registry->setText(Root::CurrentUser, Preload, QStringLiteral("2"),
                          QStringLiteral("00000429"));
        QVERIFY(!installed());
    }

    void notXPReadsNothing()
    {
        MemoryDialogs dialogs;
        MemoryShell shell;
        registry->removeKey(Root::LocalMachine, LanguagePack);
        version->setVersion(PlatformVersion::NtPlatform, 5, 2);
        QWidget window;
        PersianSupportProbe::run(&window);
        QVERIFY(registry->opened().isEmpty());
        QVERIFY(dialogs.shown().isEmpty());
        QVERIFY(shell.requests().isEmpty());
        QVERIFY(!Program::terminationRequested());
    }

    void installedAsksNothing()
    {
        MemoryDialogs dialogs;
        MemoryShell shell;
        QWidget window;
        PersianSupportProbe::run(&window);
        QCOMPARE(registry->opened().size(), 7);
        QVERIFY(dialogs.shown().isEmpty());
        QVERIFY(shell.requests().isEmpty());
        QVERIFY(!Program::terminationRequested());
    }

    void offerTheInstaller_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void offerTheInstaller()
    {
        QFETCH(bool, yes);
        MemoryDialogs dialogs;
        MemoryShell shell;
        dialogs.setConfirmAnswer(yes);
        registry->setText(Root::CurrentUser, Geo, QStringLiteral("Nation"), QStringLiteral("244"));
        QWidget window;
        PersianSupportProbe::run(&window);

        QCOMPARE(dialogs.shown().size(), 1);
        const MemoryDialogs::Shown &shown = dialogs.shown().first();
        QCOMPARE(shown.kind, Dialogs::Kind::Confirm);
        QCOMPARE(shown.caption, QStringLiteral("Confirm"));
        QCOMPARE(shown.text, QStringLiteral("Persian Language do not install on your computer(or "
                                            "do not install its details),would you like to "
                                            "install persian panguage ?"));
        QCOMPARE(Program::terminationRequested(), yes);
        if (!yes) {
            QVERIFY(shell.requests().isEmpty());
            return;
        }
        QCOMPARE(shell.requests().size(), 1);
        const MemoryShell::Request &request = shell.requests().first();
        QCOMPARE(request.window, &window);
        QCOMPARE(request.file, QStringLiteral("SetPersian.exe"));
        QCOMPARE(request.parameters, QStringLiteral("true true False"));
        QCOMPARE(request.directory, QCoreApplication::applicationDirPath() + QLatin1Char('/'));
        QCOMPARE(request.mode, Shell::Hide);
    }
};

QTEST_MAIN(tst_PersianProbe)
#include "tst_persianprobe.moc"
