#include "data/LikeMatcher.h"
#include "data/TextFolding.h"

#include <QTest>
#include <cstdlib>
#include <new>
#include <sqlite3.h>

namespace {
// While set, every allocation of this thread fails: the hook that makes the LIKE function meet
// an allocation failure inside SQLite's frames.
thread_local bool t_failAllocations = false;
} // namespace

// Every form of the ordinary allocation goes through one pair, so that what one form allocates
// another may free (the sanitizers check that they match).
void *operator new(std::size_t size)
{
    if (t_failAllocations)
        throw std::bad_alloc();
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size)
{
    return operator new(size);
}
void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    return t_failAllocations ? nullptr : std::malloc(size ? size : 1);
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept
{
    return t_failAllocations ? nullptr : std::malloc(size ? size : 1);
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete[](void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete(void *p, const std::nothrow_t &) noexcept
{
    std::free(p);
}
void operator delete[](void *p, const std::nothrow_t &) noexcept
{
    std::free(p);
}

class tst_LikeMatcher : public QObject {
    Q_OBJECT

private:
    static bool like(const QString &pattern, const QString &text)
    {
        const bool matches =
            LikeMatcher(pattern).matches(text) &&
            LikeMatcher(pattern).matches(std::string_view(text.toUtf8().constData()));
        // A text that matches shows where: at least one match, unless the pattern is all '%'.
        if (matches && !QString(pattern).remove(QLatin1Char('%')).isEmpty() &&
            LikeMatcher(pattern).find(text).empty())
            return false;
        return matches;
    }

    // The matches of find() as "from-to" pairs.
    static QString found(const QString &pattern, const QString &text)
    {
        QStringList out;
        for (const LikeMatcher::Match &m : LikeMatcher(pattern).find(text))
            out.append(QStringLiteral("%1-%2").arg(m.from).arg(m.to));
        return out.join(QLatin1Char(' '));
    }

    // Evaluates an SQL expression on a connection with the matcher installed.
    static QVariant eval(const char *expression)
    {
        sqlite3 *db = nullptr;
        sqlite3_open(":memory:", &db);
        LikeMatcher::install(db);
        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql = QByteArray("SELECT ") + expression;
        QVariant result;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW) {
            if (sqlite3_column_type(stmt, 0) != SQLITE_NULL)
                result = sqlite3_column_int(stmt, 0);
        } else {
            result = QString::fromUtf8(sqlite3_errmsg(db));
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return result;
    }

private slots:
    void wildcards_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matches");
        QTest::newRow("exact") << "abc"
                               << "abc" << true;
        QTest::newRow("longer text") << "abc"
                                     << "abcd" << false;
        QTest::newRow("run inside") << "%b%"
                                    << "abc" << true;
        // Texts shorter than one letter of the pattern, the empty text among them.
        QTest::newRow("empty text, Arabic letters") << QString::fromUtf8("%لیى") << "" << false;
        QTest::newRow("one byte, Arabic letter") << QString::fromUtf8("%ی%") << "a" << false;
        QTest::newRow("empty run") << "a%c"
                                   << "ac" << true;
        QTest::newRow("one char") << "a_c"
                                  << "abc" << true;
        QTest::newRow("one char, none there") << "a_c"
                                              << "ac" << false;
        QTest::newRow("only run") << "%"
                                  << "" << true;
        QTest::newRow("empty pattern") << ""
                                       << "a" << false;
        QTest::newRow("backtracking") << "%aab"
                                      << "aaaab" << true;
        QTest::newRow("several runs") << "%a%b%c%"
                                      << "xxaxxbxxcxx" << true;
        QTest::newRow("order matters") << "%c%b%"
                                       << "abc" << false;
        QTest::newRow("blanks are literal") << "% x %"
                                            << "a x b" << true;
        QTest::newRow("blanks needed") << "% x %"
                                       << "x b" << false;
        QTest::newRow("two-digit like") << "12"
                                        << "12" << true;
        QTest::newRow("only runs, empty text") << "%%"
                                               << "" << true;
        QTest::newRow("only runs") << "%%"
                                   << "any text" << true;
        QTest::newRow("found early, text left over") << "%ab%"
                                                     << "abxxxxxxxx" << true;
        QTest::newRow("no final run, text left over") << "%ab"
                                                      << "abab x" << false;
        QTest::newRow("retries after a false start") << "%bbc%"
                                                     << "abxbbbbc" << true;
        QTest::newRow("retries to the end") << "%ba"
                                            << "abbba" << true;
        QTest::newRow("letter after the run nowhere") << "%bz"
                                                      << "bbbb" << false;
        QTest::newRow("word after a false start") << "% ab %"
                                                  << "x abc ab y" << true;
        QTest::newRow("word only inside words") << "% ab %"
                                                << "x abc cab y" << false;
        QTest::newRow("word after a run of punctuation")
            << "% ab %" << QString::fromUtf8("xab ،.ab y") << true;
        QTest::newRow("word whose letter also ends a word") << "% b %"
                                                            << "ab cb b " << true;
        QTest::newRow("punctuation after a blank")
            << QString::fromUtf8("% ، %") << QString::fromUtf8("a ، b") << false;
        QTest::newRow("final run after one char") << "a_%"
                                                  << "a" << false;
    }
    void wildcards()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, matches);
        QCOMPARE(like(pattern, text), matches);
    }

    void folding_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matches");
        QTest::newRow("latin case") << "%ALLAH%"
                                    << "in allah we" << true;
        QTest::newRow("non-latin case")
            << QString::fromUtf8("ΣΟΦΙΑ") << QString::fromUtf8("σοφια") << true;
        // Persian keyboards type ی and ک; the Arabic text has ي, ى and ك.
        QTest::newRow("persian yeh finds arabic yeh")
            << QString::fromUtf8("%في%") << QString::fromUtf8("فی") << true;
        QTest::newRow("arabic yeh finds persian yeh")
            << QString::fromUtf8("%فی%") << QString::fromUtf8("في") << true;
        QTest::newRow("alef maksura")
            << QString::fromUtf8("%علی%") << QString::fromUtf8("على") << true;
        QTest::newRow("persian kaf")
            << QString::fromUtf8("%کتاب%") << QString::fromUtf8("الكتاب") << true;
        QTest::newRow("teh marbuta is heh")
            << QString::fromUtf8("%رحمه%") << QString::fromUtf8("رحمة") << true;
        QTest::newRow("hamza forms are plain letters")
            << QString::fromUtf8("%ابراهیم المومنین سئل%")
            << QString::fromUtf8("إبراهيم المؤمنين سئل") << true;
        QTest::newRow("madda and wasla")
            << QString::fromUtf8("قران الله") << QString::fromUtf8("قرآن ٱلله") << true;
        QTest::newRow("diacritics ignored in the text")
            << QString::fromUtf8("الله") << QString::fromUtf8("اللَّهِ") << true;
        QTest::newRow("diacritics, tatweel and shadda ignored in the pattern")
            << QString::fromUtf8("الْحَمْدُ لِلّـهِ") << QString::fromUtf8("الحمد لله") << true;
        QTest::newRow("pause marks ignored")
            << QString::fromUtf8("%ريب فيه%") << QString::fromUtf8("لا ريب ۛ فيه") << true;
        QTest::newRow("a phrase across a comma")
            << QString::fromUtf8("%خدا و%") << QString::fromUtf8("به خدا، و") << true;
        QTest::newRow("zwnj ignored on both sides")
            << QString::fromUtf8("%میکند%") << QString::fromUtf8("می\u200cکند") << true;
        QTest::newRow("persian and arabic-indic digits")
            << QString::fromUtf8("%۱۲%") << QString::fromUtf8("سوره ١٢ و 12") << true;
        QTest::newRow("other letters stay apart")
            << QString::fromUtf8("%ح%") << QString::fromUtf8("خ") << false;
        QTest::newRow("a blank finds punctuation")
            << QString::fromUtf8("% خدا %") << QString::fromUtf8(" و خدا، دانا ") << true;
        QTest::newRow("a blank finds a full stop and a line break")
            << QString::fromUtf8("% خدا %") << QString::fromUtf8(" خدا.\nو ") << true;
        QTest::newRow("a blank is not a letter")
            << QString::fromUtf8("% خدا %") << QString::fromUtf8(" خداوند ") << false;
        QTest::newRow("punctuation in the pattern is itself")
            << QString::fromUtf8("%خدا،%") << QString::fromUtf8("خدا.") << false;
    }
    void folding()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, matches);
        QCOMPARE(like(pattern, text), matches);
    }

    void foldedTextMapsBack()
    {
        const QString text = QString::fromUtf8("یکِ كتابٌ ABC");
        std::vector<qsizetype> origin;
        QCOMPARE(TextFolding::fold(text, origin), QString::fromUtf8("يك كتاب abc"));
        QCOMPARE(origin.size(), size_t(11));
        QCOMPARE(origin[2], qsizetype(3)); // the blank after the kasra
        QCOMPARE(origin[7], qsizetype(9)); // the blank after the tanwin
        QCOMPARE(TextFolding::fold(QString::fromUtf8("ريب ۛ فيه\n\nx")),
                 QString::fromUtf8("ريب فيه x"));
    }

    // Found by the fuzz target's reference: an escaped blank is a blank of the folded text,
    // which a line break of the text also becomes.
    void escapedBlankMeetsALineBreak()
    {
        const std::string_view text("\n\xd9\x80"); // a line break and a tatweel
        QVERIFY(LikeMatcher(std::string_view("!\n"), U'!').matches(text));
        QVERIFY(LikeMatcher(std::string_view("! "), U'!').matches(text));
    }

    void malformedUtf8IsNotFatal()
    {
        const char bytes[] = {'a', char(0xE2), char(0x28), 'b', char(0xF0), 0};
        QVERIFY(LikeMatcher(std::string_view("a%b%")).matches(std::string_view(bytes)));
        QVERIFY(!LikeMatcher(std::string_view("ab")).matches(std::string_view(bytes)));
    }

    // The UTF-8 path decodes into one buffer that is reused: a short text after a long one
    // must not see the long one's rest.
    void shortTextAfterALongOne()
    {
        const LikeMatcher matcher(std::string_view("%xyz"));
        QVERIFY(matcher.matches(std::string_view("a long text that ends in xyz")));
        QVERIFY(!matcher.matches(std::string_view("xy")));
        QVERIFY(!matcher.matches(std::string_view("")));
        QVERIFY(matcher.matches(std::string_view("xyz")));
    }

    // Long texts are decoded and tried in pieces: whatever the place of a word against the
    // pieces' ends (inside a letter's bytes, inside a run of blanks, across an end), the
    // answer is the one of the whole text decoded at once.
    void longTextsInPieces()
    {
        const QStringList patterns = {
            QString::fromUtf8("%خدا%"),   QString::fromUtf8("% خدا %"), QString::fromUtf8("%خدا"),
            QString::fromUtf8("خدا%"),    QString::fromUtf8("%خ_ا%"),   QString::fromUtf8("%ب خ%"),
            QString::fromUtf8("%اب%دا%"), QString::fromUtf8("%zz%"),    QString::fromUtf8("%ب")};
        for (const int before : {0, 1, 120, 126, 127, 128, 129, 500, 510, 511, 512, 513, 2040}) {
            for (const QString &gap : {QString(), QStringLiteral(" "), QStringLiteral("  \n "),
                                       QString::fromUtf8("، ")}) {
                const QString text = QString(before, QChar(0x0628)) + gap +
                                     QString::fromUtf8("خدا") + gap +
                                     QString(3000 - before, QChar(0x0628));
                const QByteArray bytes = text.toUtf8();
                for (const QString &pattern : patterns) {
                    const LikeMatcher matcher(pattern);
                    QCOMPARE(matcher.matches(std::string_view(bytes.constData(), bytes.size())),
                             matcher.matches(text));
                }
            }
        }
        // The reference itself: a word found at the end of a long text, and a word missing.
        const QByteArray end = (QString(2000, QChar(0x0628)) + QString::fromUtf8(" خدا")).toUtf8();
        QVERIFY(LikeMatcher(QString::fromUtf8("% خدا")).matches(std::string_view(end.constData())));
        QVERIFY(
            !LikeMatcher(QString::fromUtf8("%خدای%")).matches(std::string_view(end.constData())));
    }

    void matchPositions_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("matches");
        QTest::newRow("each occurrence") << "%ab%"
                                         << "abab xab"
                                         << "0-2 2-4 6-8";
        QTest::newRow("a blank across punctuation")
            << QString::fromUtf8("%قال الله%") << QString::fromUtf8("قال: الله") << "0-9";
        QTest::newRow("one character") << "%a_c%"
                                       << "abc adc"
                                       << "0-3 4-7";
        QTest::newRow("a run inside") << "%a%c%"
                                      << "xabbc ac"
                                      << "1-5 6-8";
        QTest::newRow("whole words, the blanks around left out") << "% ab %"
                                                                 << " ab abc ab. ab "
                                                                 << "1-3 8-10 12-14";
        QTest::newRow("marks and ZWNJ inside a match")
            << QString::fromUtf8("%میکند%") << QString::fromUtf8("او می\u200cکند") << "3-9";
        QTest::newRow("a letter outside the plane")
            << QString::fromUtf8("%b%") << QString::fromUtf8("\U0001D400b") << "2-3";
        QTest::newRow("anchored at the start") << "ab%"
                                               << "abab"
                                               << "0-2";
        QTest::newRow("anchored at the end") << "%ab"
                                             << "abab"
                                             << "2-4";
        QTest::newRow("no match") << "%ab%"
                                  << "a b"
                                  << "";
        QTest::newRow("nothing but runs") << "%%"
                                          << "abc"
                                          << "";
    }
    void matchPositions()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(QString, matches);
        QCOMPARE(found(pattern, text), matches);
    }

    // Bytes that are not well-formed UTF-8 read as QString::fromUtf8 reads them, one U+FFFD
    // for each byte it passes over: the byte path and the QString path see the same text.
    void malformedUtf8ReadsAsQtReadsIt()
    {
        const QByteArray malformed[] = {
            "\xC1\x81", "\xC0\x80",     "\xE0\x80\x80",     "\xED\xA0\x80", "\xF4\x90\x80\x80",
            "\xF5\x80", "\xE2\x28\xA1", "\xE2\x82",         "\xF0\x9F\x98", "\x80\xBF",
            "\xFF",     "\xEF\xBF\xBF", "\xF0\x9F\x98\x80", "\xED\x9F\xBF", "\xD9"};
        for (const QByteArray &bytes : malformed) {
            const QByteArray text = "x" + bytes + "y";
            const QString read = QString::fromUtf8(text);
            QVERIFY2(LikeMatcher(read).matches(std::string_view(text.constData(), text.size())),
                     text.toHex().constData());
            QVERIFY(LikeMatcher(read).matches(read));
        }
        QVERIFY(!LikeMatcher(QStringLiteral("xAy")).matches(std::string_view("x\xC1\x81y")));
        QCOMPARE(eval("CAST(x'78C18179' AS TEXT) LIKE 'xAy'"), QVariant(0));
        QCOMPARE(eval("CAST(x'78EDA08079' AS TEXT) LIKE 'x___y'"), QVariant(1));
    }

    // An allocation that fails inside the LIKE function becomes the statement's error; nothing
    // is thrown through SQLite.
    void allocationFailureIsTheStatementsError()
    {
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(":memory:", &db), SQLITE_OK);
        LikeMatcher::install(db);
        sqlite3_stmt *stmt = nullptr;
        QCOMPARE(sqlite3_prepare_v2(db, "SELECT 'abc' LIKE '%b%'", -1, &stmt, nullptr), SQLITE_OK);
        t_failAllocations = true;
        const int stepped = sqlite3_step(stmt);
        t_failAllocations = false;
        QCOMPARE(stepped, SQLITE_NOMEM);
        sqlite3_finalize(stmt);
        // The connection works on.
        QCOMPARE(sqlite3_prepare_v2(db, "SELECT 'abc' LIKE '%b%'", -1, &stmt, nullptr), SQLITE_OK);
        QCOMPARE(sqlite3_step(stmt), SQLITE_ROW);
        QCOMPARE(sqlite3_column_int(stmt, 0), 1);
        sqlite3_finalize(stmt);
        sqlite3_close(db);
    }

    void installedInSqlite()
    {
        QCOMPARE(eval("'ABC' LIKE 'a_c'"), QVariant(1));
        QCOMPARE(eval("'abd' LIKE 'a_c'"), QVariant(0));
        QCOMPARE(eval("12 LIKE '12'"), QVariant(1));
        QCOMPARE(eval("NULL LIKE '%'"), QVariant());
        QCOMPARE(eval("'a%c' LIKE 'a!%c' ESCAPE '!'"), QVariant(1));
        QCOMPARE(eval("'abc' LIKE 'a!%c' ESCAPE '!'"), QVariant(0));
        QCOMPARE(eval("'a' LIKE 'a' ESCAPE 'xy'"),
                 QVariant(QStringLiteral("ESCAPE expression must be a single character")));
        QCOMPARE(eval("'\xd9\x81\xd9\x8a' LIKE '\xd9\x81\xdb\x8c'"), QVariant(1));
    }
};

QTEST_APPLESS_MAIN(tst_LikeMatcher)
#include "tst_likematcher.moc"
