#include "app/Program.h"
#include "data/Connection.h"
#include "data/DataSet.h"
#include "doubles/MemoryColorChooser.h"
#include "doubles/MemoryDialogs.h"
#include "doubles/MemoryFontChooser.h"
#include "platform/ConfigLocation.h"
#include "settings/DisplaySettings.h"
#include "settings/TranslationSetting.h"
#include "support/ProgramFixture.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/question/LabeledEdit.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The configuration folder of the program for the whole of a test.
class ConfigHome {
public:
    explicit ConfigHome(const QString &path)
        : m_previous(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", path.toUtf8());
    }
    ~ConfigHome() { qputenv("XDG_CONFIG_HOME", m_previous); }

private:
    QByteArray m_previous;
};

bool sanitized()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

} // namespace

// What the reader set survives a full disk, a second window of the program on the same
// configuration folder, and a font far too large to show.
class tst_SettingsSafety : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Program::setUpApplication(*qApp); }

    // First, so that the peak memory of this process is the start-up's.
    void absurdFontsStillStart()
    {
        QTemporaryDir home;
        ConfigHome config(home.path());
        {
            DisplaySettings stored(ConfigLocation::directory());
            stored.all().font().setHeight(-2000);
            stored.quran().font().setHeight(-13332); // 9999 points
            stored.book().font().setHeight(11681);   // a cell height
            for (const auto setting : {DisplaySettings::QuranFont, DisplaySettings::BookFont,
                                       DisplaySettings::WindowFont})
                stored.save(setting);
        }
        const QStringList names = {"Quran", "Book", "ALL"};
        QList<QByteArray> before;
        for (const QString &name : names)
            before.append(fileBytes(ConfigLocation::filePath(name)));

        MemoryDialogs dialogs;
        MemoryFontChooser fonts;
        QElapsedTimer clock;
        clock.start();
        ProgramFixture program;
        QVERIFY(program.started());
        Tmain *window = program.window();
        window->showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // An X server gives the window at least its minimum size, screen or not; the offscreen
        // screen does not, so it is given here.
        window->resize(window->size().expandedTo(window->minimumSize()));
        for (QWidget *page : QList<QWidget *>{window->TabSheet1.get(), window->TabSheet2.get(),
                                              window->TabSheet5.get()}) {
            window->setActivePage(page);
            window->grab();
        }
        const qint64 elapsed = clock.elapsed();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        qInfo("start-up with the fonts bounded: %lld ms, peak resident memory %ld MB", elapsed,
              usage.ru_maxrss / 1024);
        if (!sanitized()) {
            QVERIFY2(elapsed < 2000, qPrintable(QString::number(elapsed)));
            QVERIFY2(usage.ru_maxrss < 200 * 1024, qPrintable(QString::number(usage.ru_maxrss)));
        }

        // Applied at the bounds, told once; the files stay as they were.
        QCOMPARE(window->font().pixelSize(), 96);
        QCOMPARE(window->TabSheet1.get()->DBMemo1->font().pixelSize(), 160);
        QCOMPARE(window->TabSheet2.get()->DBMemo4->font().pixelSize(), 160);
        QCOMPARE(dialogs.texts(), QStringList{DisplaySettingsPage::FontBoundedMessage});
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(fileBytes(ConfigLocation::filePath(names[i])), before[i]);

        // Chosen again: 9999 points is stored as chosen and shown at the bound, without a
        // second message; a sensible size is shown as it is.
        DisplaySettingsPage *page = window->TabSheet5.get();
        fonts.setEdit([](FontChooser::Answer &answer) { answer.font.height = -13332; });
        page->WindowFontButton->click();
        QCOMPARE(window->font().pixelSize(), 96);
        QCOMPARE(page->settings().all().font().height(), -13332);
        QCOMPARE(dialogs.texts().size(), 1);
        fonts.setEdit([](FontChooser::Answer &answer) { answer.font.height = -16; });
        page->WindowFontButton->click();
        QCOMPARE(window->font().pixelSize(), 16);
    }

    // Two windows of the program on one configuration folder: each closing writes only what
    // its reader changed, into the file as the other left it.
    void secondWindowKeepsNewerValues()
    {
        QTemporaryDir home;
        ConfigHome config(home.path());
        const QString path = QuestionPage::profilePath();
        writeFile(path, "[1]\nName=Ali\n[2]\nMail=ali@example.org\n");
        MemoryDialogs dialogs;
        ProgramFixture program;
        QVERIFY(program.started());
        QuestionPage *first = program.window()->TabSheet4.get();
        QuestionPage second(program.window()->DataSource1);
        second.LoadSenderSettings();

        // Staggered: the first changes the name and closes; the second closes unchanged.
        first->dbEdit1->setText(QStringLiteral("Reza"));
        first->SaveSenderSettings();
        second.SaveSenderSettings();
        QCOMPARE(fileBytes(path), QByteArray("[1]\nName=Reza\n[2]\nMail=ali@example.org\n"));

        // The second changes the address only; the first's name stays.
        second.ledFrom->setText(QStringLiteral("reza@example.org"));
        second.SaveSenderSettings();
        QCOMPARE(fileBytes(path), QByteArray("[1]\nName=Reza\n[2]\nMail=reza@example.org\n"));

        // The last writer of a key wins it.
        first->dbEdit1->setText(QStringLiteral("Hasan"));
        second.dbEdit1->setText(QStringLiteral("Hosein"));
        first->SaveSenderSettings();
        second.SaveSenderSettings();
        QCOMPARE(fileBytes(path), QByteArray("[1]\nName=Hosein\n[2]\nMail=reza@example.org\n"));
        QVERIFY(dialogs.shown().isEmpty());
    }

    // A configuration folder on a file system of 16 KB filled to the brim: every writer of
    // the settings keeps the old file, reports the system's reason and leaves no temporary
    // file; what the reader chose stays in use for the run.
    void fullDiskKeepsEveryOldFile()
    {
        if (geteuid() != 0)
            QSKIP("mounting a file system needs root");
        QTemporaryDir home;
        if (QProcess::execute(QStringLiteral("mount"),
                              {"-t", "tmpfs", "-o", "size=16k", "tmpfs", home.path()}) != 0)
            QSKIP("tmpfs cannot be mounted here");
        const auto unmount = qScopeGuard([&] {
            QProcess::execute(QStringLiteral("umount"), {"-l", home.path()});
        });
        ConfigHome config(home.path());
        const QDir folder(ConfigLocation::directory());
        const QString filler = home.filePath(QStringLiteral("filler"));

        MemoryDialogs dialogs;
        MemoryFontChooser fonts;
        MemoryColorChooser colors;
        fonts.setEdit([](FontChooser::Answer &answer) { answer.font.height = -19; });
        colors.setEdit([](QColor &color, QList<QColor> &) { color = Qt::yellow; });
        ProgramFixture program;
        QVERIFY(program.started());
        Tmain *window = program.window();
        DisplaySettingsPage *page = window->TabSheet5.get();
        window->show();
        window->setActivePage(page);
        QTRY_VERIFY(page->TranslationBox->count() > 1);

        // Each writer meets the full disk with its old file in place and nothing else there.
        const auto meetFullDisk = [&](const QString &name, const std::function<void()> &act) {
            const QString path = folder.filePath(name);
            const QByteArray old = "the old content of " + name.toUtf8() + '\n';
            writeFile(path, old);
            QFile fill(filler);
            QVERIFY(fill.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'x');
            while (fill.write(block) == block.size() && fill.flush())
                ;
            fill.close();
            dialogs.clear();
            act();
            QCOMPARE(fileBytes(path), old);
            QCOMPARE(dialogs.texts().size(), 1);
            const QString report = dialogs.texts().value(0);
            QVERIFY2(report.contains(path) && report.contains(QStringLiteral("No space left")),
                     qPrintable(report));
            QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden), QStringList{name});
            QFile::remove(path);
            QFile::remove(filler);
        };

        const QList<std::pair<QPushButton *, QString>> streams = {
            {page->QuranFontButton, "Quran"},
            {page->BookFontButton, "Book"},
            {page->WindowFontButton, "ALL"},
            {page->QuranColorButton, "QuranColor"},
            {page->BookColorButton, "BookColor"}};
        for (const auto &[button, name] : streams) {
            meetFullDisk(name, [button = button] { button->click(); });
            QVERIFY(dialogs.texts().value(0).startsWith(QStringLiteral("Cannot create file \"")));
        }
        // The choices are held for the run.
        QCOMPARE(page->settings().quran().font().height(), -19);
        QCOMPARE(page->settings().quranc().toQColor(), QColor(Qt::yellow));

        meetFullDisk(TranslationSetting::FileName,
                     [&] { page->TranslationBox->setCurrentIndex(2); });
        QCOMPARE(page->TranslationBox->currentIndex(), 2);
        QCOMPARE(program.verses()->connection()->translation(),
                 page->TranslationBox->itemData(2).toString());

        meetFullDisk(QuestionPage::ProfileFileName, [&] {
            window->TabSheet4.get()->dbEdit1->setText(QStringLiteral("Reza"));
            QVERIFY(window->close());
        });
        QVERIFY(dialogs.texts().value(0).startsWith(QStringLiteral("Unable to write to ")));
        QVERIFY(Program::terminationRequested());
    }
};

QTEST_MAIN(tst_SettingsSafety)
#include "tst_settingssafety.moc"
