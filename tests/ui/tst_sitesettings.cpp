#include "doubles/MemoryShell.h"
#include "support/ProgramFixture.h"
#include "ui/main/AboutPage.h"
#include "ui/main/SiteSettings.h"
#include "ui/main/Tmain.h"
#include "ui/question/LabeledEdit.h"
#include "ui/question/QuestionPage.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

// The packager's settings and the administrator's system-wide overrides.
class tst_SiteSettings : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_previous;

    // A system configuration folder holding kevran/kevran.conf with these bytes.
    QString folder(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(path + QStringLiteral("/kevran"));
        QFile file(path + QStringLiteral("/kevran/kevran.conf"));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return path;
    }
    static void useFolders(const QStringList &folders)
    {
        qputenv("XDG_CONFIG_DIRS", folders.join(QLatin1Char(':')).toUtf8());
    }

private slots:
    void initTestCase() { m_previous = qgetenv("XDG_CONFIG_DIRS"); }
    void cleanup() { qputenv("XDG_CONFIG_DIRS", m_previous); }

    void defaultsWithoutFiles()
    {
        useFolders({m_dir.filePath(QStringLiteral("none"))});
        const SiteSettings settings = SiteSettings::load();
        const SiteSettings defaults = SiteSettings::defaults();
        QCOMPARE(settings.questionHost, defaults.questionHost);
        QCOMPARE(settings.questionRecipient, defaults.questionRecipient);
        QCOMPARE(settings.webSite, defaults.webSite);
        QVERIFY(!defaults.questionHost.isEmpty());
        QVERIFY(defaults.questionRecipient.contains(QLatin1Char('@')));
        QVERIFY(defaults.webSite.startsWith(QLatin1String("http")));

        // Without the variable the standard folder is the one read.
        qunsetenv("XDG_CONFIG_DIRS");
        QCOMPARE(SiteSettings::systemFiles(),
                 QStringList{QStringLiteral("/etc/xdg/kevran/kevran.conf")});
    }

    void overridesInOrder()
    {
        // The first folder sets the host only, and the web site empty; the second sets all
        // three, quoted and with blanks; a relative folder is ignored.
        const QString first =
            folder(QStringLiteral("first"), "[question]\nhost = mail.first.example \n"
                                            "[About]\nWebSite=\n");
        const QString second = folder(QStringLiteral("second"),
                                      "; the site's own\r\n[Question]\r\nHost=mail.second.example"
                                      "\r\nRecipient=\"q@second.example\"\r\n"
                                      "[About]\r\nWebSite=https://second.example/fa\r\n");
        useFolders({first, QStringLiteral("relative"), second});
        QCOMPARE(SiteSettings::systemFiles().size(), 2);
        const SiteSettings settings = SiteSettings::load();
        QCOMPARE(settings.questionHost, QStringLiteral("mail.first.example"));
        QCOMPARE(settings.questionRecipient, QStringLiteral("q@second.example"));
        QCOMPARE(settings.webSite, QStringLiteral("https://second.example/fa"));

        // A file too large to be a settings file is skipped whole.
        const QString huge =
            folder(QStringLiteral("huge"), "[Question]\nHost=mail.huge.example\n" +
                                               QByteArray(SiteSettings::MaxFileSize, '#'));
        useFolders({huge, second});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("larger than")));
        QCOMPARE(SiteSettings::load().questionHost, QStringLiteral("mail.second.example"));
    }

    // The hidden fields of the question page and the about page's button take the values.
    void pagesUseThem()
    {
        useFolders({folder(QStringLiteral("pages"),
                           "[Question]\nHost=mail.site.example\nRecipient=inbox@site.example\n"
                           "[About]\nWebSite=https://site.example/\xd9\x81\xd8\xa7\n")});
        ProgramFixture program;
        QVERIFY(program.started());
        QuestionPage *question = program.window()->TabSheet4.get();
        QCOMPARE(question->ledHost->text(), QStringLiteral("mail.site.example"));
        QCOMPARE(question->ledTo->text(), QStringLiteral("inbox@site.example"));
        QVERIFY(question->ledHost->isHidden());

        MemoryShell shell;
        program.window()->TabSheet6.get()->btnWebSite->click();
        QCOMPARE(shell.requests().size(), 1);
        QCOMPARE(shell.requests().front().file, QStringLiteral("https://site.example/فا"));
    }
};

QTEST_MAIN(tst_SiteSettings)
#include "tst_sitesettings.moc"
