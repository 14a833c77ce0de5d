#include "platform/Error.h"
#include "platform/IniDocument.h"
#include "platform/ProfileFile.h"
#include "platform/SystemProfileFile.h"
#include "support/ErrorOf.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

// The INI reader and writer, the profile-file value rules and the files on disk.
class tst_ProfileFile : public QObject {
    Q_OBJECT

public:
    static constexpr int WriterKeys = 150;

private:
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
private slots:
    void readBack_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("read");
        QTest::newRow("plain") << "Ali"
                               << "Ali";
        QTest::newRow("blanks at both ends") << " \t Ali Reza \t "
                                             << "Ali Reza";
        QTest::newRow("only blanks") << "   "
                                     << "";
        QTest::newRow("double quotes") << "\"Ali\""
                                       << "Ali";
        QTest::newRow("single quotes") << "'Ali'"
                                       << "Ali";
        QTest::newRow("quotes after the blanks") << "  \" Ali \"  "
                                                 << " Ali ";
        QTest::newRow("one pair only") << "\"\"Ali\"\""
                                       << "\"Ali\"";
        QTest::newRow("mixed quotes kept") << "\"Ali'"
                                           << "\"Ali'";
        QTest::newRow("one quote kept") << "\""
                                        << "\"";
        QTest::newRow("empty quotes") << "\"\""
                                      << "";
        QTest::newRow("quote inside") << "Ali \"the\" reader"
                                      << "Ali \"the\" reader";
        QTest::newRow("Persian") << QString::fromUtf8(" علي رضا ") << QString::fromUtf8("علي رضا");
    }
    void readBack()
    {
        QFETCH(QString, stored);
        QFETCH(QString, read);
        QCOMPARE(ProfileFile::readBack(stored), read);
    }

    void longValuesAreCut()
    {
        const int max = ProfileFile::MaxValueLength;
        QCOMPARE(max, 2047);
        const QString exact(max, QLatin1Char('a'));
        QCOMPARE(ProfileFile::readBack(exact), exact);
        QCOMPARE(ProfileFile::readBack(exact + QLatin1Char('b')), exact);
        QCOMPARE(ProfileFile::readBack(QString(10000, QLatin1Char('x'))),
                 QString(max, QLatin1Char('x')));
        // Cut after the quotes and blanks are gone, so the limit counts the value itself.
        QCOMPARE(ProfileFile::readBack(QLatin1String("  \"") + exact + QLatin1String("\"  ")),
                 exact);
        // Characters outside the basic plane count once and are never split.
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        const QString many = emoji.repeated(max + 5);
        QCOMPARE(ProfileFile::readBack(many), emoji.repeated(max));
        const QString mixed = QString(max - 1, QLatin1Char('a')) + emoji + emoji;
        QCOMPARE(ProfileFile::readBack(mixed), QString(max - 1, QLatin1Char('a')) + emoji);
    }

    void lookup()
    {
        const IniDocument doc = IniDocument::parse("\xEF\xBB\xBF"
                                                   "top=outside\r\n"
                                                   "; Name=comment\r\n"
                                                   "  [ 1 ]  \r\n"
                                                   "  name = Ali = Reza  \r\n"
                                                   "Name=second\r\n"
                                                   "no equals sign\r\n"
                                                   "[2]\r"
                                                   "Mail=\r"
                                                   "[1]\n"
                                                   "Other=late\n"
                                                   "[3");
        QCOMPARE(doc.value(QStringLiteral("1"), QStringLiteral("NAME")),
                 QStringLiteral(" Ali = Reza  "));
        QCOMPARE(doc.value(QStringLiteral("2"), QStringLiteral("Mail")), QString());
        QVERIFY(doc.value(QStringLiteral("2"), QStringLiteral("Mail")).has_value());
        // The first section of a name is the one that counts.
        QVERIFY(!doc.value(QStringLiteral("1"), QStringLiteral("Other")));
        QVERIFY(!doc.value(QStringLiteral("2"), QStringLiteral("Name")));
        QVERIFY(!doc.value(QStringLiteral("1"), QStringLiteral("top")));
        QVERIFY(!doc.value(QStringLiteral("1"), QStringLiteral("; Name")));
        QVERIFY(!doc.value(QStringLiteral("4"), QStringLiteral("Name")));
        QVERIFY(
            !IniDocument::parse(QByteArray()).value(QStringLiteral("1"), QStringLiteral("Name")));
    }

    void writingKeepsEverythingElse()
    {
        const QByteArray original = "\xEF\xBB\xBF"
                                    "; the reader's settings\r\n"
                                    "[1]\r\n"
                                    "Before=1\r\n"
                                    "  Name = old  \r\n"
                                    "After=2\r\n"
                                    "\r\n"
                                    "[Fonts]\r\n"
                                    "Size=8";
        IniDocument doc = IniDocument::parse(original);
        QCOMPARE(doc.toBytes(), original);
        doc.setValue(QStringLiteral("1"), QStringLiteral("name"), QString::fromUtf8("علي"));
        QByteArray expected = original;
        expected.replace("  Name = old  ", "  Name =" + QString::fromUtf8("علي").toUtf8());
        QCOMPARE(doc.toBytes(), expected);

        // A new key goes to the end of its section, before the blank line; a new section to
        // the end of the file, in the file's own line endings.
        doc.setValue(QStringLiteral("1"), QStringLiteral("Mail"), QStringLiteral("a@b.example"));
        doc.setValue(QStringLiteral("2"), QStringLiteral("Mail"), QStringLiteral("c@d.example"));
        QCOMPARE(doc.lines(), (QList<QByteArray>{"; the reader's settings", "[1]", "Before=1",
                                                 "  Name =" + QString::fromUtf8("علي").toUtf8(),
                                                 "After=2", "Mail=a@b.example", "", "[Fonts]",
                                                 "Size=8", "[2]", "Mail=c@d.example"}));
        QVERIFY(doc.toBytes().endsWith("Size=8\r\n[2]\r\nMail=c@d.example\r\n"));

        // A line break in a value would start keys of its own.
        doc.setValue(QStringLiteral("2"), QStringLiteral("Mail"),
                     QStringLiteral("x\r\n[1]\nName=evil\r"));
        const IniDocument again = IniDocument::parse(doc.toBytes());
        QCOMPARE(again.value(QStringLiteral("2"), QStringLiteral("Mail")),
                 QStringLiteral("x  [1] Name=evil "));
        QCOMPARE(again.value(QStringLiteral("1"), QStringLiteral("Name")),
                 QString::fromUtf8("علي"));
    }

    // A value that begins with U+FEFF (pasted text may) is not taken for a byte order mark.
    void valueStartingWithByteOrderMark()
    {
        const QString value = QStringLiteral("\uFEFF\uFEFFali");
        IniDocument document = IniDocument::parse("[Other]\n");
        document.setValue(QStringLiteral("Options"), QStringLiteral("Name"), value);
        QCOMPARE(document.value(QStringLiteral("Options"), QStringLiteral("Name")), value);
        QCOMPARE(IniDocument::parse(document.toBytes())
                     .value(QStringLiteral("Options"), QStringLiteral("Name")),
                 value);
    }

    // Random files of sections, keys, comments and stray bytes: setting one key reads back,
    // and every other line comes out as it went in.
    void writingRandomFiles()
    {
        QRandomGenerator random(20240501);
        const QList<QByteArray> pieces{
            "[1]",      "[2]", "[ 1 ]", "[x", "Name=a", " name = b ", "Mail=c", "Other=d",
            "; Name=e", "",    "   ",   "=f", "junk",   "\xFF\xFE",   "[3]",    "Mail"};
        const QList<QByteArray> ends{"\n", "\r\n", "\r", "\n\n", "\r\r"};
        for (int round = 0; round < 500; ++round) {
            QByteArray bytes;
            const int count = random.bounded(12);
            for (int i = 0; i < count; ++i) {
                bytes += pieces[random.bounded(int(pieces.size()))];
                if (i + 1 < count || random.bounded(2))
                    bytes += ends[random.bounded(int(ends.size()))];
            }
            const QString section = random.bounded(2) ? QStringLiteral("1") : QStringLiteral("2");
            const QString key = random.bounded(2) ? QStringLiteral("Name") : QStringLiteral("Mail");
            const QString value = QStringLiteral("v%1").arg(round);

            const IniDocument before = IniDocument::parse(bytes);
            QCOMPARE(before.toBytes(), bytes);
            IniDocument after = before;
            after.setValue(section, key, value);
            const IniDocument reread = IniDocument::parse(after.toBytes());
            QCOMPARE(reread.value(section, key), value);
            QCOMPARE(reread.lines(), after.lines());

            // Other keys read as before.
            for (const char *otherSection : {"1", "2", "3", "x"}) {
                for (const char *otherKey : {"Name", "Mail", "Other"}) {
                    const QString s = QLatin1String(otherSection);
                    const QString k = QLatin1String(otherKey);
                    if (s == section && k == key)
                        continue;
                    QCOMPARE(reread.value(s, k), before.value(s, k));
                }
            }
            // One line changed in place, or the old lines all there in order with one or two
            // added.
            const QList<QByteArray> old = before.lines();
            const QList<QByteArray> now = reread.lines();
            if (now.size() == old.size()) {
                int differences = 0;
                for (qsizetype i = 0; i < now.size(); ++i)
                    differences += now[i] != old[i];
                QVERIFY(differences <= 1);
            } else {
                QVERIFY(now.size() - old.size() == 1 || now.size() - old.size() == 2);
                qsizetype next = 0;
                for (const QByteArray &line : now) {
                    if (next < old.size() && line == old[next])
                        ++next;
                }
                QCOMPARE(next, old.size());
            }
        }
    }

    void diskFiles()
    {
        SystemProfileFile disk;
        ProfileFile &files = disk;
        const QString ini = path(QStringLiteral("kevran.ini"));
        const QString one = QStringLiteral("1");
        const QString name = QStringLiteral("Name");

        QCOMPARE(files.readString(ini, one, name, QStringLiteral("none")), QStringLiteral("none"));
        files.writeString(ini, one, name, QString());
        files.writeString(ini, QStringLiteral("2"), QStringLiteral("Mail"), QString());
        QCOMPARE(read(ini), QByteArray("[1]\nName=\n[2]\nMail=\n"));
        QCOMPARE(files.readString(ini, one, name, QStringLiteral("none")), QString());

        // Written as given, read back by the rules; the other keys stay.
        write(ini, "[1]\r\nName=x\r\n[Other]\r\nKey=kept\r\n");
        files.writeString(ini, one, name, QStringLiteral("  \"Ali\"  "));
        QCOMPARE(read(ini), QByteArray("[1]\r\nName=  \"Ali\"  \r\n[Other]\r\nKey=kept\r\n"));
        QCOMPARE(files.readString(ini, one, name, QString()), QStringLiteral("Ali"));

        const QString longName(10000, QLatin1Char('n'));
        files.writeString(ini, one, name, longName);
        QVERIFY(read(ini).contains("Name=" + longName.toUtf8() + "\r\n"));
        QCOMPARE(files.readString(ini, one, name, QString()), longName.left(2047));

        // Written by replacing the file: nothing of the temporary file is left.
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("kevran.ini")});
    }

    // Two programs updating one file at once: every key each of them wrote is there, and the
    // shared key holds one of the two last values.
    void concurrentWriters()
    {
        const QString ini = path(QStringLiteral("shared.ini"));
        QProcess first;
        QProcess second;
        const QString self = QCoreApplication::applicationFilePath();
        first.start(self, {QStringLiteral("--write-keys"), ini, QStringLiteral("a")});
        second.start(self, {QStringLiteral("--write-keys"), ini, QStringLiteral("b")});
        for (QProcess *writer : {&first, &second}) {
            QVERIFY(writer->waitForFinished(60000));
            QCOMPARE(writer->exitCode(), 0);
        }
        const IniDocument doc = IniDocument::parse(read(ini));
        for (const char *tag : {"a", "b"}) {
            for (int i = 0; i < WriterKeys; ++i) {
                const QString key = tag + QString::number(i);
                QVERIFY2(doc.value(QStringLiteral("1"), key) == key, qPrintable(key));
            }
        }
        const QString last = doc.value(QStringLiteral("2"), QStringLiteral("Last")).value_or("");
        QVERIFY2(last == QStringLiteral("a%1").arg(WriterKeys - 1) ||
                     last == QStringLiteral("b%1").arg(WriterKeys - 1),
                 qPrintable(last));
        QVERIFY(!QFile::exists(ini + QStringLiteral(".lock")));
    }

    void diskFailures()
    {
        SystemProfileFile disk;
        ProfileFile &files = disk;
        const QString one = QStringLiteral("1");
        const QString name = QStringLiteral("Name");

        // A path that cannot be read gives the default, and is not overwritten.
        const QString folder = path(QStringLiteral("folder.ini"));
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(files.readString(folder, one, name, QStringLiteral("d")), QStringLiteral("d"));
        QCOMPARE(errorOf([&] { files.writeString(folder, one, name, QStringLiteral("Ali")); }),
                 QStringLiteral("Unable to write to ") + folder);
        QVERIFY(QFileInfo(folder).isDir());

        // A folder that cannot hold the file.
        const QString plain = path(QStringLiteral("plain"));
        write(plain, "not a folder");
        const QString inside = plain + QStringLiteral("/kevran.ini");
        QCOMPARE(files.readString(inside, one, name, QString()), QString());
        // The system's reason follows.
        QVERIFY(
            errorOf([&] {
                files.writeString(inside, one, name, QStringLiteral("Ali"));
            }).startsWith(QStringLiteral("Unable to write to ") + inside + QStringLiteral(". ")));
        QCOMPARE(read(plain), QByteArray("not a folder"));
    }
};

// The child of concurrentWriters: keys "<tag>0" to "<tag>N-1" of section 1, one update each,
// and the shared key "Last" of section 2 with every update.
int writeKeys(const QString &file, const QString &tag)
{
    SystemProfileFile disk;
    try {
        for (int i = 0; i < tst_ProfileFile::WriterKeys; ++i) {
            const QString key = tag + QString::number(i);
            disk.writeStrings(file, {{QStringLiteral("1"), key, key},
                                     {QStringLiteral("2"), QStringLiteral("Last"), key}});
        }
    } catch (const Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--write-keys") == 0)
        return writeKeys(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    tst_ProfileFile test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_profilefile.moc"
