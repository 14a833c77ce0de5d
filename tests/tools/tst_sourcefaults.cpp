// The database builder's source readers against files no editor would write: empty, cut
// short, binary, not UTF-8, a folder in the file's place, unreadable; and the builder against
// an output it cannot write. Each is refused with the file and line at fault, never a crash,
// and a failed build leaves no file behind.

#include "platform/Error.h"
#include "support/ErrorOf.h"
#include "tools/textdb/NahjReader.h"
#include "tools/textdb/TanzilReader.h"
#include "tools/textdb/TextDatabaseBuilder.h"
#include "tools/textdb/TopicIndex.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <unistd.h>

namespace {

const QByteArray kTanzil =
    "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
    "<!-- notice -->\n"
    "<quran>\n"
    "\t<sura index=\"1\" name=\"a\">\n"
    "\t\t<aya index=\"1\" text=\"\xd8\xa8\xd8\xb3\xd9\x85\"/>\n"
    "\t\t<aya index=\"2\" text=\"\xd8\xa7\xd9\x84\xd8\xad\xd9\x85\xd8\xaf\"/>\n"
    "\t</sura>\n"
    "</quran>\n";

QByteArray nahjText()
{
    return QStringLiteral("section\tnumber\ttitle_fa\tarabic\tpersian\n"
                          "1\t1\tt\tالحمد لله\tخطبه ۱- ستایش\n"
                          "2\t1\tt\tمن عبد الله\tنامه ۱- به مردم\n"
                          "3\t1\tt\tكن في الفتنة\tدر فتنه چنین باش\n"
                          "4\t1\tt\tفإذا كان ذلك\tچون چنین شود\n")
        .toUtf8();
}

} // namespace

class tst_SourceFaults : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
        return path;
    }

    // The reader's error for the file, or an empty text when it was read.
    using Reader = std::function<void(const QString &)>;
    static Reader tanzil()
    {
        return [](const QString &path) { (void)TanzilReader::read(path); };
    }
    static Reader nahj()
    {
        return [](const QString &path) { (void)NahjReader::read(path); };
    }
    static Reader topics()
    {
        return [](const QString &path) { (void)TopicIndex::read(path); };
    }

private slots:
    void samplesRead()
    {
        QCOMPARE(TanzilReader::read(write("q.xml", kTanzil)).verseCount(), 2);
        QCOMPARE(NahjReader::read(write("n.tsv", nahjText())).size(), size_t(4));
    }

    void damagedTanzil_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << QByteArray() << ":1: ";
        QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff\xfe\x00", 6) << ":1: ";
        QTest::newRow("plain text") << QByteArray("quran 1:1 bism\n") << ":1: ";
        QTest::newRow("cut in a tag") << kTanzil.left(kTanzil.indexOf("text=") + 8) << ":5: ";
        QTest::newRow("cut before the end") << kTanzil.left(kTanzil.indexOf("</quran>")) << ":8: ";
        // The XML reader decodes ahead of its parsing: the line it names is where it stood.
        QTest::newRow("not UTF-8") << QByteArray(kTanzil).replace("\xd8\xa8", "\xff\xfe")
                                   << ":1: Encountered incorrectly encoded content";
        QTest::newRow("no suras") << QByteArray("<quran>\n</quran>\n") << ":3: no suras found";
        QTest::newRow("index not a number")
            << QByteArray(kTanzil).replace("index=\"2\"", "index=\"2x\"")
            << ":6: <aya> without a numeric index";
        QTest::newRow("index overflow")
            << QByteArray(kTanzil).replace("index=\"2\"", "index=\"99999999999\"")
            << ":6: <aya> without a numeric index";
        QTest::newRow("entity bomb")
            << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE q [<!ENTITY a \"aaaaaaaaaa\">"
                          "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                          "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                          "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                          "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
                          "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
                          "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">]>\n"
                          "<quran><sura index=\"1\"><aya index=\"1\" text=\"&g;&g;&g;\"/>"
                          "</sura></quran>\n")
            << ":";
    }
    void damagedTanzil()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const QString path = write(QStringLiteral("quran.xml"), bytes);
        const QString message = errorOf([&] { (void)TanzilReader::read(path); });
        QVERIFY2(message.startsWith(path + error), qPrintable(message));
    }

    void damagedNahj_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        const QByteArray good = nahjText();
        QTest::newRow("empty") << QByteArray() << ":0: section 1 has no items";
        QTest::newRow("header only")
            << good.left(good.indexOf('\n') + 1) << ":1: section 1 has no items";
        QTest::newRow("binary") << QByteArray("\x00\x01\xff\n\x02", 5)
                                << ":1: the header row is missing";
        QTest::newRow("cut in a line")
            << good.left(good.indexOf("\n2\t") + 6) << ":3: 3 fields where 5 were expected";
        QTest::newRow("section too large")
            << QByteArray(good).replace("\n4\t1\t", "\n5\t1\t") << ":5: unknown section '5'";
        QTest::newRow("section overflow")
            << QByteArray(good).replace("\n4\t1\t", "\n99999999999\t1\t")
            << ":5: unknown section '99999999999'";
        QTest::newRow("number not a number") << QByteArray(good).replace("\n3\t1\t", "\n3\tone\t")
                                             << ":4: حکمت ۰: number one where 1 was expected";
        QTest::newRow("not UTF-8")
            << QByteArray(good).replace("\xd9\x85\xd9\x86", "\xff\xff") << ":3: not valid UTF-8";
        QTest::newRow("heading not UTF-8")
            << QByteArray(good).replace("\xdb\xb1", "\xdb") << ":2: not valid UTF-8";
        QTest::newRow("NUL for a tab")
            << QByteArray(good).replace("\n4\t1\tt\t", QByteArray("\n4\t1\tt\0", 8))
            << ":5: 4 fields where 5 were expected";
        QTest::newRow("empty Persian")
            << QByteArray(good).replace("\xd8\xaf\xd8\xb1 \xd9\x81\xd8\xaa\xd9\x86\xd9\x87 "
                                        "\xda\x86\xd9\x86\xdb\x8c\xd9\x86 \xd8\xa8\xd8\xa7\xd8\xb4",
                                        " ")
            << ":4: حکمت ۱: the Persian text is empty";
    }
    void damagedNahj()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const QString path = write(QStringLiteral("nahj.tsv"), bytes);
        const QString message = errorOf([&] { (void)NahjReader::read(path); });
        QVERIFY2(message.startsWith(path + error), qPrintable(message));
    }

    void damagedTopics_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << QByteArray() << ":1: topic 'aa' is missing";
        QTest::newRow("binary") << QByteArray("\x01\x02\x03 x\n", 6)
                                << ":1: unknown statement '\x01\x02\x03'";
        QTest::newRow("NUL") << QByteArray("topic\0aa\n", 9) << ":1: unknown statement";
        QTest::newRow("not UTF-8") << QByteArray("# ok\n# \xff\xfe\n") << ":2: not valid UTF-8";
        QTest::newRow("cut in a regex")
            << QStringLiteral("topic aa صفات خداوند\nregex (لا إله").toUtf8()
            << ":2: bad regular expression";
        QTest::newRow("huge reference")
            << QStringLiteral("topic aa صفات خداوند\nverses 2:1-99999999999\n").toUtf8()
            << ":2: '2:1-99999999999' is not a verse reference";
    }
    void damagedTopics()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const QString path = write(QStringLiteral("topics.txt"), bytes);
        const QString message = errorOf([&] { (void)TopicIndex::read(path); });
        QVERIFY2(message.startsWith(path + error), qPrintable(message));
    }

    // A folder in a file's place, and a file the process may not read: refused with the file
    // named, by each reader.
    void unreadableFiles()
    {
        const QList<Reader> readers = {tanzil(), nahj(), topics()};
        const QString folder = m_dir.filePath(QStringLiteral("a folder"));
        QVERIFY(QDir().mkpath(folder));
        for (const Reader &read : readers) {
            const QString message = errorOf([&] { read(folder); });
            QVERIFY2(message.startsWith(folder + QLatin1Char(':')), qPrintable(message));
        }

        if (geteuid() == 0)
            QSKIP("File permissions do not bind the superuser");
        const QString locked = write(QStringLiteral("locked"), kTanzil);
        QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
        for (const Reader &read : readers) {
            const QString message = errorOf([&] { read(locked); });
            QVERIFY2(message.startsWith(locked + QLatin1String(": ")), qPrintable(message));
        }
    }

    // Every prefix of a good file is read or refused with an Error; none crashes.
    void everyPrefix()
    {
        const QList<QPair<Reader, QByteArray>> samples = {{tanzil(), kTanzil},
                                                          {nahj(), nahjText()}};
        for (const auto &sample : samples) {
            const Reader &read = sample.first;
            const QByteArray &bytes = sample.second;
            for (qsizetype n = 0; n < bytes.size(); ++n) {
                const QString path = write(QStringLiteral("prefix"), bytes.left(n));
                const QString message = errorOf([&] { read(path); });
                QVERIFY2(message.isEmpty() || message.startsWith(path + QLatin1Char(':')),
                         qPrintable(message));
            }
        }
    }

    // An output the builder cannot write, from the real sources: the error names the output,
    // an existing folder in its place stays, and no temporary file is left behind.
    void unwritableOutput()
    {
        const QString source = QStringLiteral(KEVRAN_TEST_SOURCE_DIR);
        const QString blocked = write(QStringLiteral("blocked"), "a file");
        const QString inFile = blocked + QStringLiteral("/1.db");
        QString message = errorOf([&] {
            TextDatabaseBuilder({source, inFile, QStringLiteral("fa.makarem")}).build();
        });
        QVERIFY2(message.startsWith(blocked + QStringLiteral("/1.db.")), qPrintable(message));
        QVERIFY(!QFile::exists(inFile));

        const QString folder = m_dir.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/inside")));
        message = errorOf([&] {
            TextDatabaseBuilder({source, folder, QStringLiteral("fa.makarem")}).build();
        });
        QVERIFY2(message.startsWith(folder + QStringLiteral(": cannot write: ")),
                 qPrintable(message));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("/inside")));
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("*.tmp")}, QDir::Files),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_SourceFaults)
#include "tst_sourcefaults.moc"
