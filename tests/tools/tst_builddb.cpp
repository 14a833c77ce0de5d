#include "platform/Error.h"
#include "support/ErrorOf.h"
#include "tools/textdb/NahjReader.h"
#include "tools/textdb/TextDatabaseBuilder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <sqlite3.h>

// The builder against the real source texts, and against copies damaged one way at a time.
class tst_BuildDb : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_source;

    static QString sourceDir() { return QStringLiteral(KEVRAN_TEST_SOURCE_DIR); }

    // A copy of the Quran sources the builder reads, to damage.
    QString copySources(const QString &name)
    {
        const QString root = m_dir.filePath(name);
        for (const char *file :
             {"quran/arabic/quran-simple.xml", "quran/arabic/quran-simple-clean.xml",
              "quran/persian/fa.makarem.xml", "quran/persian/fa.ansarian.xml",
              "nahj/aligned/nahj.tsv", "nahj/persian-dashti/LICENSE.geraked-application-nahj"}) {
            const QString target = QDir(root).filePath(QLatin1String(file));
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(QDir(sourceDir()).filePath(QLatin1String(file)), target);
            QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
        return root;
    }

    // Replaces the first match of a pattern in a file.
    static void edit(const QString &path, const QString &pattern, const QString &to)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString text = QString::fromUtf8(file.readAll());
        file.close();
        const QRegularExpressionMatch match = QRegularExpression(pattern).match(text);
        QVERIFY2(match.hasMatch(), qPrintable(pattern));
        text.replace(match.capturedStart(), match.capturedLength(), to);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }

    // Builds and answers the error text, or an empty text when the build succeeded.
    static QString buildError(const QString &source, const QString &output,
                              const QString &translation = QStringLiteral("fa.makarem"))
    {
        try {
            TextDatabaseBuilder({source, output, translation}).build();
        } catch (const Error &e) {
            return e.message();
        }
        return QString();
    }

    static QStringList query(const QString &db, const QByteArray &sql)
    {
        sqlite3 *handle = nullptr;
        sqlite3_open_v2(db.toUtf8().constData(), &handle, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *stmt = nullptr;
        QStringList rows;
        if (sqlite3_prepare_v2(handle, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                QStringList cells;
                for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                    cells << QString::fromUtf8(
                        reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)));
                rows << cells.join(QLatin1Char('|'));
            }
        }
        sqlite3_finalize(stmt);
        sqlite3_close(handle);
        return rows;
    }

private slots:
    void initTestCase() { m_source = copySources(QStringLiteral("good")); }

    void buildsTheRealTexts()
    {
        const QString out = m_dir.filePath(QStringLiteral("1.db"));
        QStringList progress;
        const TextDatabaseBuilder::Counts counts =
            TextDatabaseBuilder({m_source, out, QStringLiteral("fa.makarem")},
                                [&](const QString &line) { progress << line; })
                .build();
        QCOMPARE(counts.num, 6236);
        QCOMPARE(counts.main, 6236 + 241 + 79 + 480 + 9 + 1);
        QCOMPARE(counts.type, 4);
        QCOMPARE(counts.notices, 6); // two Arabic, two translations, two Nahj
        QCOMPARE(counts.translations, 2);
        QVERIFY(progress.size() >= 4);

        // Unsorted statements return verses in reading order.
        const QStringList first = query(
            out, "SELECT chapter, vers, name FROM num left join main on num.id=main.id1 LIMIT 8");
        QCOMPARE(first.first(), QString::fromUtf8("1|1|الفاتحة"));
        QCOMPARE(first.last(), QString::fromUtf8("2|1|البقرة"));
        QCOMPARE(
            query(out, "SELECT chapter, vers FROM main left join num on main.id1=num.id").last(),
            QStringLiteral("114|6"));
        QCOMPARE(query(out, "SELECT name FROM num WHERE chapter = 11 LIMIT 1").first(),
                 QString::fromUtf8("هود "));

        // Display and search texts verbatim, the search text's pause marks included.
        QFile simple(QDir(m_source).filePath(QStringLiteral("quran/arabic/quran-simple.xml")));
        QVERIFY(simple.open(QIODevice::ReadOnly));
        const QByteArray simpleBytes = simple.readAll();
        QFile clean(QDir(m_source).filePath(QStringLiteral("quran/arabic/quran-simple-clean.xml")));
        QVERIFY(clean.open(QIODevice::ReadOnly));
        const QByteArray cleanBytes = clean.readAll();
        for (const char *id : {"1", "9", "6236"}) {
            const QString arabic =
                query(out, QByteArray("SELECT Arabic FROM main WHERE id1 = ") + id).first();
            QVERIFY(simpleBytes.contains("text=\"" + arabic.toUtf8() + "\""));
            const QString search =
                query(out, QByteArray("SELECT search1 FROM main WHERE id1 = ") + id).first();
            QVERIFY(cleanBytes.contains("text=\"" + search.toUtf8() + "\""));
        }
        QVERIFY(
            query(out, "SELECT search1 FROM main WHERE id1 = 9").first().contains(QChar(0x06DB)));
        QCOMPARE(query(out, "SELECT English FROM main WHERE id1 = 2").first(),
                 QString::fromUtf8("ستایش مخصوص خداوندی است که پروردگار جهانیان است."));
        QVERIFY(query(out, "SELECT Notice FROM Notices WHERE Source = 'quran-simple.xml'")
                    .first()
                    .contains(QStringLiteral("Tanzil Project")));

        // Topic codes stand apart, so no two run together into a third.
        QCOMPARE(query(out, "SELECT sub FROM main WHERE id1 = (SELECT id FROM num WHERE chapter = "
                            "5 AND vers = 55)")
                     .first()
                     .split(QLatin1Char(' '))
                     .mid(0, 2),
                 QStringList({QStringLiteral("gg"), QStringLiteral("hh")}));
        QCOMPARE(query(out, "SELECT count(*) FROM main WHERE sub GLOB '*[a-z][a-z][a-z]*'").first(),
                 QStringLiteral("0"));
        QVERIFY(query(out, "SELECT count(*) FROM main WHERE (' ' || sub || ' ') like '% tt %'")
                    .first()
                    .toInt() > 100);

        // Nahj al-Balagha: sections in order, items of a section by number.
        QCOMPARE(query(out, "SELECT Type AS Type,Name AS Name FROM Type"),
                 QStringList({QString::fromUtf8("1|خطبه‌ها"),
                              QString::fromUtf8("2|نامه‌ها"),
                              QString::fromUtf8("3|حکمت‌ها"),
                              QString::fromUtf8("4|غریب‌الکلام")}));
        const QStringList letters = query(out, "SELECT ID, Name2 FROM Main WHERE Code = 2");
        QCOMPARE(letters.size(), 79);
        QCOMPARE(letters.first(), QString::fromUtf8("1|نامه ۱"));
        QCOMPARE(letters.last(), QString::fromUtf8("79|نامه ۷۹"));
        QCOMPARE(query(out, "SELECT count(*) FROM Main WHERE Code = 3").first(),
                 QStringLiteral("480"));
        QVERIFY(query(out, "SELECT Farsi FROM Main WHERE Code = 1 AND ID = 1")
                    .first()
                    .startsWith(QString::fromUtf8("خطبه ۱")));
        QCOMPARE(query(out, "SELECT Name2 FROM Main WHERE Code = 0 AND ID = 1").first(),
                 QString::fromUtf8("مقدمه سید رضی"));
        // The search form has no diacritics, punctuation or double blanks.
        QCOMPARE(
            query(out,
                  "SELECT count(*) FROM main WHERE search GLOB '*[()،:.]*' OR search GLOB '*  *'")
                .first(),
            QStringLiteral("0"));
    }

    void picksAnotherTranslation()
    {
        const QString out = m_dir.filePath(QStringLiteral("ansarian.db"));
        QCOMPARE(buildError(m_source, out, QStringLiteral("fa.ansarian")), QString());
        QVERIFY(query(out, "SELECT Notice FROM Notices WHERE Source = 'fa.ansarian.xml'")
                    .first()
                    .contains(QStringLiteral("fa.ansarian")));
        // The verses carry the chosen translation, listed first; the default stays stored.
        QCOMPARE(query(out, "SELECT Code, Ord, Translator FROM Translations ORDER BY Ord"),
                 QStringList({QStringLiteral("fa.ansarian|1|Hussain Ansarian"),
                              QStringLiteral("fa.makarem|2|Naser Makarem Shirazi")}));
        QCOMPARE(
            query(out, "SELECT English FROM main WHERE id1 = 2"),
            query(out, "SELECT Text FROM TranslationText WHERE Code = 'fa.ansarian' AND id1 = 2"));
        QCOMPARE(
            query(out, "SELECT Text FROM TranslationText WHERE Code = 'fa.makarem' AND id1 = 2")
                .first(),
            QString::fromUtf8("ستایش مخصوص خداوندی است که پروردگار جهانیان است."));
    }

    // A translation cut at one length: hundreds of verses piled at the longest length, most
    // ending inside a word. Long verses that end their sentences, and a text with one longest
    // verse, are whole.
    void findsCutTranslations()
    {
        const QString word = QString::fromUtf8("کلمه ");
        std::vector<QStringList> whole(1), cut(1), longSentences(1);
        for (int i = 0; i < 300; ++i) {
            const QString verse = word.repeated(1 + i % 40).trimmed() + QLatin1Char('.');
            whole[0].append(verse);
            cut[0].append(i % 10 < 3 ? word.repeated(60).left(246 + i % 3) : verse);
            longSentences[0].append(i % 10 < 3 ? word.repeated(49) + QString::fromUtf8("است.")
                                               : verse);
        }
        QCOMPARE(TextDatabaseBuilder::cutVerses(whole), 0);
        QCOMPARE(TextDatabaseBuilder::cutVerses(longSentences), 0);
        QCOMPARE(TextDatabaseBuilder::cutVerses(cut), 90);
    }

    // The real sources: the translations with their translators, each verse as its file holds
    // it, the cut one left out and named; the Nahj text decoded exactly; titles with Persian
    // digits; the notices.
    void storesTheRealSourcesInFull()
    {
        const QString out = m_dir.filePath(QStringLiteral("full.db"));
        const QString notices = m_dir.filePath(QStringLiteral("NOTICES"));
        TextDatabaseBuilder::Options options{sourceDir(), out, QStringLiteral("fa.bahrampour")};
        QVERIFY(errorOf([&] {
                    TextDatabaseBuilder(options).build();
                }).contains(QStringLiteral("the file is cut")));
        options.translation = QStringLiteral("fa.makarem");
        options.notices = notices;
        const TextDatabaseBuilder::Counts counts = TextDatabaseBuilder(options).build();
        QCOMPARE(counts.translations, 6);
        QCOMPARE(counts.leftOut.size(), 1);
        QVERIFY(counts.leftOut.first().startsWith(QStringLiteral("fa.bahrampour (cut: ")));

        QCOMPARE(
            query(out, "SELECT Code, Translator, PersianName FROM Translations ORDER BY Ord"),
            QStringList(
                {QString::fromUtf8("fa.makarem|Naser Makarem Shirazi|مکارم شیرازی"),
                 QString::fromUtf8("fa.ansarian|Hussain Ansarian|انصاریان"),
                 QString::fromUtf8("fa.ayati|AbdolMohammad Ayati|آیتی"),
                 QString::fromUtf8("fa.fooladvand|Mohammad Mahdi Fooladvand|فولادوند"),
                 QString::fromUtf8("fa.ghomshei|Mahdi Elahi Ghomshei|الهی قمشه‌ای"),
                 QString::fromUtf8("fa.khorramshahi|Baha'oddin Khorramshahi|خرمشاهی")}));
        QCOMPARE(query(out, "SELECT count(DISTINCT Code), count(*) FROM TranslationText").first(),
                 QStringLiteral("6|37416"));
        // Ayat al-Kursi (2:255, verse 262) of every translation, as its file writes it.
        for (const QString &row :
             query(out, "SELECT Code, Text FROM TranslationText WHERE id1 = 262")) {
            const QString code = row.section(QLatin1Char('|'), 0, 0);
            QFile file(
                QDir(sourceDir()).filePath(QStringLiteral("quran/persian/%1.xml").arg(code)));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray xml = file.readAll();
            const qsizetype sura = xml.indexOf("<sura index=\"2\"");
            const qsizetype verse = xml.indexOf("<aya index=\"255\" text=\"", sura);
            QVERIFY2(sura > 0 && verse > sura, qPrintable(code));
            const qsizetype start = verse + qsizetype(strlen("<aya index=\"255\" text=\""));
            QCOMPARE(row.section(QLatin1Char('|'), 1),
                     QString::fromUtf8(xml.mid(start, xml.indexOf('"', start) - start)));
        }
        QCOMPARE(
            query(out, "SELECT English FROM main WHERE id1 = 262"),
            query(out, "SELECT Text FROM TranslationText WHERE Code = 'fa.makarem' AND id1 = 262"));

        // The Persian Nahj text is the translator's own, decoded exactly: sayings 86 and 111
        // hold the tab their source holds, and no escape is left anywhere.
        sqlite3 *dashti = nullptr;
        QVERIFY(sqlite3_open_v2(QDir(sourceDir())
                                    .filePath(QStringLiteral("nahj/persian-dashti/ger-nahj.db"))
                                    .toUtf8()
                                    .constData(),
                                &dashti, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK);
        for (const int saying : {86, 111}) {
            sqlite3_stmt *stmt = nullptr;
            sqlite3_prepare_v2(dashti, "SELECT cnt FROM nahj WHERE cat = 3 AND num = ?", -1, &stmt,
                               nullptr);
            sqlite3_bind_int(stmt, 1, saying);
            QCOMPARE(sqlite3_step(stmt), SQLITE_ROW);
            const QString original =
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)))
                    .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            sqlite3_finalize(stmt);
            QVERIFY(original.contains(QLatin1Char('\t')));
            QCOMPARE(query(out, "SELECT Farsi FROM main WHERE Code = 3 AND ID = " +
                                    QByteArray::number(saying))
                         .first(),
                     original);
        }
        sqlite3_close(dashti);
        QCOMPARE(
            query(out, "SELECT count(*) FROM main WHERE instr(Farsi, '\\') OR instr(arabic2, '\\')")
                .first(),
            QStringLiteral("0"));

        // Titles number their items in Persian digits; the compared numbers stay integers.
        QCOMPARE(
            query(out, "SELECT count(*) FROM main WHERE Code > 0 AND Name2 GLOB '*[0-9]*'").first(),
            QStringLiteral("0"));
        QCOMPARE(
            query(out,
                  "SELECT Name2, typeof(Code), typeof(ID) FROM main WHERE Code = 3 AND ID = 480"),
            QStringList(QString::fromUtf8("حکمت ۴۸۰|integer|integer")));

        // The Persian Nahj source's MIT notice travels verbatim, in the table and the file.
        QFile licence(
            QDir(sourceDir())
                .filePath(QStringLiteral("nahj/persian-dashti/LICENSE.geraked-application-nahj")));
        QVERIFY(licence.open(QIODevice::ReadOnly));
        const QString mit = QString::fromUtf8(licence.readAll());
        QVERIFY(mit.contains(QStringLiteral("Copyright (c) 2019-2020 Geraked")));
        QCOMPARE(
            query(out,
                  "SELECT Notice FROM Notices WHERE Source = 'LICENSE.geraked-application-nahj'"),
            QStringList(mit));
        QFile written(notices);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QString all = QString::fromUtf8(written.readAll());
        QVERIFY(all.contains(mit));
        for (const char *source : {"== quran-simple.xml ==", "== fa.khorramshahi.xml ==",
                                   "== LICENSE.geraked-application-nahj =="})
            QVERIFY2(all.contains(QLatin1String(source)), source);
    }

    void searchForm()
    {
        QCOMPARE(TextDatabaseBuilder::searchForm(QString::fromUtf8("  لا ريب ۛ فيه ۛ هدى ")),
                 QString::fromUtf8("لا ريب فيه هدى"));
        QCOMPARE(TextDatabaseBuilder::searchForm(QString::fromUtf8("۩")), QString());
    }

    void nahjForms()
    {
        QCOMPARE(NahjReader::searchForm(QString::fromUtf8("وَ قَالَ (عليه السلام ): أَزْرَى بِنَفْسِهِ،\nمَنِ")),
                 QString::fromUtf8("و قال عليه السلام أزرى بنفسه من"));
        QCOMPARE(NahjReader::unescape(QStringLiteral("a\\nb\\tc\\\\n")),
                 QStringLiteral("a\nb\tc\\n"));
        // Only the three escapes are decoded; any other backslash stands as it is.
        QCOMPARE(NahjReader::unescape(QStringLiteral("\\x\\\\t\\")), QStringLiteral("\\x\\t\\"));
        QCOMPARE(NahjReader::itemLabel(1, 12), QString::fromUtf8("خطبه ۱۲"));
        QCOMPARE(NahjReader::itemLabel(3, 480), QString::fromUtf8("حکمت ۴۸۰"));
    }

    void refusesBadSources_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("error");
        QTest::newRow("verse missing")
            << "quran/arabic/quran-simple.xml"
            << "<aya index=\"6\"[^>]*/>\\s*</sura>\\s*</quran>"
            << "</sura></quran>"
            << "quran-simple.xml: 114 suras and 6235 verses, but the Quran has 114 and 6236";
        QTest::newRow("translation misaligned")
            << "quran/persian/fa.makarem.xml"
            << "<aya index=\"7\""
            << "<aya index=\"6\""
            << "fa.makarem.xml:25: verse 6 of sura 1 where verse 7 was expected";
        QTest::newRow("translation short a verse")
            << "quran/persian/fa.makarem.xml"
            << "<aya index=\"7\"[^>]*/>"
            << ""
            << "fa.makarem.xml:24: sura 1 has 6 verses, but quran-simple.xml has 7";
        QTest::newRow("unknown element")
            << "quran/arabic/quran-simple-clean.xml"
            << "<aya index=\"7\""
            << "<ignored index=\"7\""
            << "quran-simple-clean.xml:42: unexpected element <ignored>";
        QTest::newRow("malformed xml") << "quran/arabic/quran-simple.xml"
                                       << "<aya index=\"2\" "
                                       << "<aya index=\"2 "
                                       << "quran-simple.xml:37: ";
        QTest::newRow("empty verse") << "quran/persian/fa.makarem.xml"
                                     << "<aya index=\"1\" text=\"[^\"]*\""
                                     << "<aya index=\"1\" text=\" \""
                                     << "fa.makarem.xml:19: verse 1 of sura 1 has no text";
        QTest::newRow("file missing") << "quran/persian/fa.makarem.xml" << QString() << QString()
                                      << "fa.makarem.xml: file not found";
        // Nahj al-Balagha: sermon 2's Persian moved up a line misaligns both sermons.
        QTest::newRow("nahj misaligned") << "nahj/aligned/nahj.tsv"
                                         << "\n1\t1\t[^\t]*\t[^\t]*\t[^\n]*\n1\t2\t"
                                         << "\n1\t2\t"
                                         << "nahj.tsv:9: خطبه ۲: number 2 where 1 was expected";
        QTest::newRow("nahj heading") << "nahj/aligned/nahj.tsv"
                                      << "\t\u062e\u0637\u0628\u0647 \u06f3-"
                                      << "\t\u062e\u0637\u0628\u0647 \u06f4-"
                                      << "nahj.tsv:11: خطبه ۳: the Persian text is headed";
        QTest::newRow("nahj fields") << "nahj/aligned/nahj.tsv"
                                     << "\n2\t1\t"
                                     << "\n2\t1\t\t"
                                     << "nahj.tsv:250: 6 fields where 5 were expected";
        QTest::newRow("nahj empty arabic") << "nahj/aligned/nahj.tsv"
                                           << "\n3\t1\t[^\t]*\t\\K[^\t]*"
                                           << ""
                                           << "nahj.tsv:329: حکمت ۱: the Arabic text is empty";
        QTest::newRow("nahj missing")
            << "nahj/aligned/nahj.tsv" << QString() << QString() << "nahj.tsv: file not found";
        QTest::newRow("nahj licence missing")
            << "nahj/persian-dashti/LICENSE.geraked-application-nahj" << QString() << QString()
            << "LICENSE.geraked-application-nahj: file not found";
        // Every translation is checked, not only the one the verses carry.
        QTest::newRow("other translation misaligned")
            << "quran/persian/fa.ansarian.xml"
            << "<aya index=\"7\"[^>]*/>"
            << ""
            << "fa.ansarian.xml:24: sura 1 has 6 verses, but quran-simple.xml has 7";
        QTest::newRow("translation without translator")
            << "quran/persian/fa.ansarian.xml"
            << "#  Translator: [^\r\n]*"
            << "#"
            << "fa.ansarian.xml: the header comment names no Translator";
    }
    void refusesBadSources()
    {
        QFETCH(QString, file);
        QFETCH(QString, pattern);
        QFETCH(QString, to);
        QFETCH(QString, error);
        const QString source =
            copySources(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_'));
        const QString path = QDir(source).filePath(file);
        if (pattern.isEmpty())
            QFile::remove(path);
        else
            edit(path, pattern, to);

        // A failed build leaves an existing database as it was and no partial file behind.
        const QString out = m_dir.filePath(QStringLiteral("kept.db"));
        QFile::remove(out);
        QFile keep(out);
        QVERIFY(keep.open(QIODevice::WriteOnly));
        keep.write("previous");
        keep.close();

        const QString message = buildError(source, out);
        QVERIFY2(message.startsWith(QDir(source).filePath(file).section(QLatin1Char('/'), 0, -2)),
                 qPrintable(message));
        QVERIFY2(message.contains(error), qPrintable(message));
        QFile kept(out);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("previous"));
        const QStringList leftovers =
            QDir(m_dir.path()).entryList({QStringLiteral("*.tmp")}, QDir::Files);
        QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(' ')));
    }

    void refusesAMissingSourceFolder()
    {
        QVERIFY(buildError(m_dir.filePath(QStringLiteral("nowhere")),
                           m_dir.filePath(QStringLiteral("x.db")))
                    .endsWith(QStringLiteral("nowhere: source folder not found")));
    }
};

QTEST_GUILESS_MAIN(tst_BuildDb)
#include "tst_builddb.moc"
