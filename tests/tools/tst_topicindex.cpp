#include "platform/Error.h"
#include "tools/textdb/TanzilReader.h"
#include "tools/textdb/TextDatabaseBuilder.h"
#include "tools/textdb/TopicIndex.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The topic file's parser on small files damaged one way at a time, and the project's topic
// file against the real Quran text.
class tst_TopicIndex : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    TopicIndex m_index;
    std::vector<QStringList> m_search; // search form by sura and verse

    // A complete, valid file: every topic with one word rule. Line 1 is a comment, topic i
    // starts at line 2 + 2 * i and its rule stands on the line after.
    static QString minimalFile()
    {
        QString text = QStringLiteral("# test\n");
        for (const QString &code : TopicIndex::codes())
            text +=
                QStringLiteral("topic %1 %2\nword كلمة\n").arg(code, TopicIndex::captionOf(code));
        return text;
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
        return path;
    }

    static QString readError(const QString &path)
    {
        try {
            TopicIndex::read(path);
        } catch (const Error &e) {
            return e.message();
        }
        return QString();
    }

    QStringList codesOf(int sura, int verse) const
    {
        return m_index.codesFor(sura, verse, m_search[size_t(sura - 1)][verse - 1])
            .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_index = TopicIndex::read(QStringLiteral(KEVRAN_TOPIC_FILE));
        const TanzilText clean =
            TanzilReader::read(QDir(QStringLiteral(KEVRAN_TEST_SOURCE_DIR))
                                   .filePath("quran/arabic/quran-simple-clean.xml"));
        for (const QStringList &sura : clean.suras) {
            QStringList forms;
            for (const QString &verse : sura)
                forms << TextDatabaseBuilder::searchForm(verse);
            m_search.push_back(forms);
        }
    }

    // The built-in verse counts that references are checked against are the text's own.
    void verseCountsMatchText()
    {
        const std::vector<int> &counts = TopicIndex::suraVerseCounts();
        QCOMPARE(counts.size(), m_search.size());
        for (size_t s = 0; s < counts.size(); ++s)
            QCOMPARE(counts[s], int(m_search[s].size()));
    }

    void defects_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("message");

        const QString first = QStringLiteral("topic aa صفات خداوند\nword كلمة\n");
        QTest::newRow("unknown code")
            << first << QStringLiteral("topic ab صفات خداوند\nword كلمة\n") << ":2: 'ab' is not";
        QTest::newRow("code given as the button name")
            << QStringLiteral("topic tt قيامت\n") << QStringLiteral("topic ttt قيامت\n")
            << ":16: 'ttt' is not";
        QTest::newRow("duplicate code") << QStringLiteral("topic bb صفات رحيميه خداوند\n")
                                        << QStringLiteral("topic aa صفات خداوند\n")
                                        << ":4: topic 'aa' is already given at line 2";
        QTest::newRow("missing topic") << QStringLiteral("topic aw منافقين\nword كلمة\n")
                                       << QString() << ":75: topic 'aw' is missing";
        QTest::newRow("wrong caption")
            << first << QStringLiteral("topic aa صفات\nword كلمة\n") << ":2: the caption of 'aa'";
        QTest::newRow("unknown statement")
            << first << first + QStringLiteral("words الله\n") << ":4: unknown statement 'words'";
        QTest::newRow("rule before any topic")
            << QStringLiteral("# test\n") << QStringLiteral("verses 1:1\n")
            << ":1: 'verses' before";
        QTest::newRow("rule without arguments")
            << first << first + QStringLiteral("verses\n") << ":4: 'verses' without arguments";
        QTest::newRow("topic without rules")
            << first << QStringLiteral("topic aa صفات خداوند\n# nothing yet\n")
            << ":2: topic 'aa' has no rules";
        QTest::newRow("malformed reference")
            << first << first + QStringLiteral("verses 2:255 2.256\n")
            << ":4: '2.256' is not a verse";
        QTest::newRow("open range")
            << first << first + QStringLiteral("except 2:5-\n") << ":4: '2:5-' is not a verse";
        QTest::newRow("range backwards")
            << first << first + QStringLiteral("verses 2:9-5\n") << ":4: '2:9-5': the range runs";
        QTest::newRow("verse beyond its sura")
            << first << first + QStringLiteral("verses 1:1 1:8\n")
            << ":4: '1:8' is outside the Quran";
        QTest::newRow("range beyond its sura")
            << first << first + QStringLiteral("verses 114:1-7\n") << ":4: '114:1-7' is outside";
        QTest::newRow("verse zero")
            << first << first + QStringLiteral("except 2:0\n") << ":4: '2:0' is outside";
        QTest::newRow("sura beyond the Quran")
            << first << first + QStringLiteral("verses 115:1\n") << ":4: '115:1': there is no sura";
        QTest::newRow("bad regular expression")
            << first << first + QStringLiteral("regex (الله\n") << ":4: bad regular expression";
        QTest::newRow("must-hold verse without a note")
            << first << first + QStringLiteral("must 2:255\n") << ":4: 'must 2:255' without a note";
        QTest::newRow("must-hold verse beyond its sura")
            << first << first + QStringLiteral("must 1:8 the eighth verse\n")
            << ":4: '1:8' is outside the Quran";
        QTest::newRow("not UTF-8") << QStringLiteral("topic dd قرآن\n")
                                   << QStringLiteral("topic dd \uFFFD\n") << ":6: not valid UTF-8";
    }

    void defects()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, message);
        QString text = minimalFile();
        QVERIFY(text.contains(from));
        text.replace(text.indexOf(from), from.size(), to);
        QByteArray bytes = text.toUtf8();
        bytes.replace("\xef\xbf\xbd", "\xff"); // the replacement character stands for a bad byte
        const QString path = write(QStringLiteral("bad.txt"), bytes);
        const QString error = readError(path);
        QVERIFY2(error.startsWith(path + message), qPrintable(error));
    }

    void missingFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("none.txt"));
        QVERIFY(readError(path).startsWith(path + QStringLiteral(": ")));
    }

    // Words take proclitics and stand between blanks; regexes see Arabic letters as word
    // characters; verses and except lines override the rules.
    void rules()
    {
        QString text = minimalFile();
        text.replace(QStringLiteral("topic aa صفات خداوند\nword كلمة\n"),
                     QStringLiteral("topic aa صفات خداوند\nword الجنة\nexcept 11:119\n"));
        text.replace(QStringLiteral("topic bb صفات رحيميه خداوند\nword كلمة\n"),
                     QStringLiteral("topic bb صفات رحيميه خداوند\nregex \\bصبر\nverses 3:1-2\n"));
        const TopicIndex index =
            TopicIndex::read(write(QStringLiteral("rules.txt"), text.toUtf8()));

        QCOMPARE(index.codesFor(2, 82, QStringLiteral("أولئك أصحاب الجنة هم")),
                 QStringLiteral("aa"));
        QCOMPARE(index.codesFor(2, 1, QStringLiteral("الجنة")), QStringLiteral("aa"));
        QCOMPARE(index.codesFor(2, 1, QStringLiteral("يدعو إلى الجنة")), QStringLiteral("aa"));
        QCOMPARE(index.codesFor(2, 1, QStringLiteral("وبالجنة أو فللجنة")), QStringLiteral("aa"));
        QCOMPARE(index.codesFor(2, 1, QStringLiteral("الجنات الجنتان")), QString());
        QCOMPARE(index.codesFor(2, 1, QStringLiteral("سالجنة")), QString());
        QCOMPARE(index.codesFor(11, 119, QStringLiteral("من الجنة والناس")), QString());

        QCOMPARE(index.codesFor(2, 1, QStringLiteral("فاصبر صبرا")), QStringLiteral("bb"));
        QCOMPARE(index.codesFor(2, 1, QStringLiteral("واصبر")), QString());
        QCOMPARE(index.codesFor(3, 2, QString()), QStringLiteral("bb"));
        QCOMPARE(index.codesFor(3, 3, QString()), QString());
        // Several topics: single blanks, button order whatever the file's order.
        QCOMPARE(
            index.codesFor(3, 1, QStringLiteral("الجنة كلمة")),
            QStringLiteral("aa bb dd ee gg hh qq tt yy mm oo ag nn pp vv jj ff cc ao ae ap ai ah "
                           "au ww rr az ll ss af zz ad as xx ac av aq aw"));
    }

    // A must-hold verse that the block's rules leave out is named with its line and note; one
    // that a rule, a verses line or nothing at all takes passes.
    void mustHold()
    {
        QString text = minimalFile();
        text.replace(QStringLiteral("topic aa صفات خداوند\nword كلمة\n"),
                     QStringLiteral("topic aa صفات خداوند\nword كلمة\nmust 2:255 the Throne "
                                    "verse\nmust 112:1-2 al-Ikhlas\nverses 112:1\n"));
        text.replace(QStringLiteral("topic bb صفات رحيميه خداوند\nword كلمة\n"),
                     QStringLiteral("topic bb صفات رحيميه خداوند\nword الرحيم\nexcept "
                                    "1:3\nmust 1:1 the basmala\nmust 1:3 the Opening\n"));
        const QString path = write(QStringLiteral("must.txt"), text.toUtf8());
        const TopicIndex index = TopicIndex::read(path);
        const QStringList untagged = index.untaggedMustHold(m_search);
        QCOMPARE(untagged,
                 QStringList({path + QStringLiteral(":4: topic 'aa' must hold 2:255 (the Throne "
                                                    "verse), but its rules leave it out"),
                              path + QStringLiteral(":5: topic 'aa' must hold 112:2 (al-Ikhlas), "
                                                    "but its rules leave it out"),
                              path + QStringLiteral(":11: topic 'bb' must hold 1:3 (the Opening), "
                                                    "but its rules leave it out")}));
        try {
            index.checkMustHold(m_search);
            QFAIL("no error for untagged must-hold verses");
        } catch (const Error &e) {
            QCOMPARE(e.message(), untagged.join(QLatin1Char('\n')));
        }

        // The builder refuses the file before it writes anything.
        const QString out = m_dir.filePath(QStringLiteral("must.db"));
        QString error;
        try {
            TextDatabaseBuilder(
                {QStringLiteral(KEVRAN_TEST_SOURCE_DIR), out, QStringLiteral("fa.makarem"), path})
                .build();
        } catch (const Error &e) {
            error = e.message();
        }
        QCOMPARE(error, untagged.join(QLatin1Char('\n')));
        QVERIFY(!QFile::exists(out));
        QVERIFY(QDir(m_dir.path()).entryList({QStringLiteral("*.tmp")}, QDir::Files).isEmpty());
    }

    // The project's file: every topic names the verses it must hold, and holds them.
    void realFileHoldsItsMustHoldVerses()
    {
        for (const TopicIndex::Topic &topic : m_index.topics())
            QVERIFY2(topic.mustHold.size() >= 3, qPrintable(topic.code));
        const QStringList untagged = m_index.untaggedMustHold(m_search);
        QVERIFY2(untagged.isEmpty(), qPrintable(untagged.join(QLatin1Char('\n'))));
    }

    void everyTopicListsVerses()
    {
        const std::vector<int> counts = m_index.verseCounts(m_search);
        const QStringList report = m_index.countReport(m_search);
        QCOMPARE(report.size(), TopicIndex::codes().size());
        for (size_t t = 0; t < counts.size(); ++t) {
            QVERIFY2(counts[t] > 0 && counts[t] < 600, qPrintable(report[qsizetype(t)]));
            QVERIFY(report[qsizetype(t)].startsWith(TopicIndex::codes()[qsizetype(t)] + ' '));
        }
    }

    // The program selects a topic with "sub like '%code%'": no verse may be found under a code
    // it does not carry because two neighbouring codes run together.
    void noCodeFoundByConcatenation()
    {
        for (size_t s = 0; s < m_search.size(); ++s) {
            for (qsizetype a = 0; a < m_search[s].size(); ++a) {
                const QString sub = m_index.codesFor(int(s) + 1, int(a) + 1, m_search[s][a]);
                const QStringList own = sub.split(QLatin1Char(' '), Qt::SkipEmptyParts);
                QCOMPARE(own.join(QLatin1Char(' ')), sub);
                for (const QString &code : TopicIndex::codes())
                    QVERIFY2(sub.contains(code) == own.contains(code),
                             qPrintable(QStringLiteral("%1:%2 %3").arg(s + 1).arg(a + 1).arg(sub)));
            }
        }
    }

    void anchors_data()
    {
        QTest::addColumn<int>("sura");
        QTest::addColumn<int>("verse");
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("notIn");

        QTest::newRow("Throne verse") << 2 << 255 << "aa"
                                      << "";
        QTest::newRow("do not despair of mercy") << 39 << 53 << "bb oo"
                                                 << "";
        QTest::newRow("We sent down the Reminder") << 15 << 9 << "dd"
                                                   << "";
        QTest::newRow("Muhammad is the Messenger") << 48 << 29 << "ee"
                                                   << "";
        QTest::newRow("guardianship verse") << 5 << 55 << "gg hh"
                                            << "";
        QTest::newRow("purification verse") << 33 << 33 << "hh"
                                            << "";
        QTest::newRow("the oppressed made heirs") << 28 << 5 << "qq"
                                                  << "";
        QTest::newRow("Day of Resurrection") << 75 << 1 << "tt"
                                             << "";
        QTest::newRow("Gardens beneath which rivers flow") << 98 << 8 << "yy"
                                                           << "";
        QTest::newRow("jinn, not Paradise") << 114 << 6 << ""
                                            << "yy";
        QTest::newRow("Moses' fire, not Hell") << 20 << 10 << "rr"
                                               << "mm";
        QTest::newRow("sincere repentance") << 66 << 8 << "oo ae"
                                            << "";
        QTest::newRow("prayer and patience") << 2 << 153 << "jj av ag"
                                             << "";
        QTest::newRow("Joseph's story") << 12 << 23 << "ff"
                                        << "";
        QTest::newRow("Our Lord, give us good") << 2 << 201 << "ae"
                                                << "";
        QTest::newRow("plea from the Fire") << 23 << 107 << ""
                                            << "ae";
        QTest::newRow("divorce is twice") << 2 << 229 << "ah ss"
                                          << "";
        QTest::newRow("Jesus son of Mary") << 19 << 34 << "ww"
                                           << "";
        QTest::newRow("angels bowed") << 2 << 34 << "af ad"
                                      << "";
        QTest::newRow("the lowest heaven") << 67 << 5 << ""
                                           << "ac";
        QTest::newRow("hypocrites are liars") << 63 << 1 << "aw"
                                              << "";
        QTest::newRow("perish the hands") << 111 << 1 << ""
                                          << "oo";
        // Words that the rules would take in another sense.
        QTest::newRow("Abraham's fire") << 37 << 97 << ""
                                        << "mm";
        QTest::newRow("the fire Iblis was made of") << 7 << 12 << "ad"
                                                    << "mm";
        QTest::newRow("the fire without the article") << 92 << 14 << "mm"
                                                      << "";
        QTest::newRow("gardens of this world") << 25 << 10 << ""
                                               << "yy";
        QTest::newRow("the highest attribute, not a parable") << 16 << 60 << ""
                                                              << "aq";
        QTest::newRow("the nearer bank at Badr") << 8 << 42 << ""
                                                 << "ac";
        QTest::newRow("among the righteous as a vow") << 9 << 75 << "aw"
                                                      << "nn";
        QTest::newRow("those who did not fight you") << 60 << 8 << "vv"
                                                     << "zz";
        QTest::newRow("the Prophet's sight did not stray") << 53 << 17 << "ee"
                                                           << "ai";
    }

    void anchors()
    {
        QFETCH(int, sura);
        QFETCH(int, verse);
        QFETCH(QString, in);
        QFETCH(QString, notIn);
        const QStringList codes = codesOf(sura, verse);
        for (const QString &code : in.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            QVERIFY2(codes.contains(code), qPrintable(codes.join(QLatin1Char(' '))));
        for (const QString &code : notIn.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            QVERIFY2(!codes.contains(code), qPrintable(codes.join(QLatin1Char(' '))));
    }
};

QTEST_GUILESS_MAIN(tst_TopicIndex)
#include "tst_topicindex.moc"
