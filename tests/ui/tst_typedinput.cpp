#include "app/Program.h"
#include "data/DataSet.h"
#include "data/LikeMatcher.h"
#include "data/TDataModule2.h"
#include "doubles/MemoryDialogs.h"
#include "doubles/MemoryKeyboardLayout.h"
#include "doubles/MemoryProfileFile.h"
#include "mail/SmtpClient.h"
#include "support/PortRedirect.h"
#include "support/ProgramFixture.h"
#include "support/ReceivedMail.h"
#include "support/ScriptedSmtpServer.h"
#include "ui/main/Tmain.h"
#include "ui/question/LabeledEdit.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/search/SearchPage.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <sqlite3.h>

// What a reader may type or paste into a box. None of it may become part of a statement's
// syntax, stop the program, or change what a question mail says.
namespace {

const QString Found = QStringLiteral("مورد نتيجه داشت");
const QString NothingFound = QStringLiteral("چيزي يافت نشد ");
const QString QuranJoin = QStringLiteral("From num left join main on num.id=main.id1");
// Each search must be over quickly, whatever was typed; generous for instrumented builds.
constexpr qint64 QuickMs = 5000;

QString longText()
{
    QString text;
    while (text.size() < 10000)
        text += QStringLiteral("الله 'x' %_; ");
    return text.left(10000);
}

const QList<QPair<QByteArray, QString>> &inputs()
{
    static const QList<QPair<QByteArray, QString>> list = {
        {"apostrophe", QStringLiteral("'")},
        {"apostrophes in a word", QStringLiteral("it's o''clock'")},
        {"percent", QStringLiteral("%")},
        {"underscore", QStringLiteral("_")},
        {"comment", QStringLiteral("--")},
        {"semicolon", QStringLiteral(";")},
        {"or true", QStringLiteral(") OR (1=1")},
        {"quoted or true", QStringLiteral("1') OR ('1'='1")},
        {"second statement", QStringLiteral("x'); DROP TABLE main; --")},
        {"10000 characters", longText()},
        {"10000 digits", QString(10000, QLatin1Char('7'))},
        {"tab", QStringLiteral("الله\tاكبر")},
        {"line breaks", QStringLiteral("الله\r\nاكبر\rو\n")},
        {"nul", QStringLiteral("الله") + QChar(0) + QStringLiteral("x")},
        {"escape", QStringLiteral("\x1b[2J\x1b")},
        {"lone dot line", QStringLiteral("a\n.\nQUIT\n")},
        {"header and command", QStringLiteral("Ali\r\nBcc: victim@x.example\r\n\r\nRCPT TO:<v@x>")},
        {"right-to-left mark", QStringLiteral("\u200Fالله")},
        {"right-to-left override", QStringLiteral("\u202Eالله\u202C")},
        {"mixed scripts", QStringLiteral("موسى Moses 'x'")},
        {"arabic digits", QStringLiteral("١٢")},
    };
    return list;
}

void addInputs()
{
    QTest::addColumn<QString>("typed");
    for (const auto &[tag, text] : inputs())
        QTest::newRow(tag.constData()) << text;
}

// The text as it stands inside a literal of a statement: apostrophes doubled, a NUL (which
// ends a statement's text for SQLite) joined on by a function call outside the literal.
QString doubled(QString text)
{
    return text.replace(QLatin1Char('\''), QLatin1String("''"))
        .replace(QChar(0), QLatin1String("' || char(0) || '"));
}

// Blanks and control characters off both ends, as the whole-word search takes the word.
QString trimmedWord(const QString &text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && text[from].unicode() <= ' ')
        ++from;
    while (to > from && text[to - 1].unicode() <= ' ')
        --to;
    return text.mid(from, to - from);
}

// Line breaks of every kind as one line feed.
QString withLineFeeds(QString text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|[\r\n\u2028\u2029]"));
    return text.replace(breaks, QStringLiteral("\n"));
}

// A header's meaning: line breaks and runs of blanks as one blank.
QString blanksFolded(QString text)
{
    static const QRegularExpression blanks(QStringLiteral("[ \t\r\n]+"));
    return text.replace(blanks, QStringLiteral(" "));
}

} // namespace

class tst_TypedInput : public QObject {
    Q_OBJECT

    MemoryProfileFile m_profile;
    MemoryKeyboardLayout m_layouts;
    std::unique_ptr<PortRedirect> m_sockets;
    std::unique_ptr<ProgramFixture> m_program;
    sqlite3 *m_db = nullptr;
    QuranPage *quran = nullptr;
    SearchPage *search = nullptr;
    QuestionPage *question = nullptr;

    // The rows a statement selects with the pattern given as a bound value, never as text of
    // the statement: what the typed text must find.
    int expectedCount(const QString &fromAndWhere, const QString &pattern)
    {
        const QString sql = QStringLiteral("SELECT count(*) ") + fromAndWhere;
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare16_v2(m_db, sql.utf16(), -1, &stmt, nullptr) != SQLITE_OK) {
            qWarning("%s", sqlite3_errmsg(m_db));
            return -1;
        }
        sqlite3_bind_text16(stmt, 1, pattern.utf16(), int(pattern.size() * 2), SQLITE_TRANSIENT);
        const int count = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : -1;
        sqlite3_finalize(stmt);
        return count;
    }

    static QString foundText(int count)
    {
        return count == 0 ? NothingFound : QString::number(count) + Found;
    }

    // The Quran page's quick search, by its button.
    QStringList quickSearch(QRadioButton *scope, const QString &typed, qint64 *elapsed = nullptr)
    {
        MemoryDialogs dialogs;
        scope->setChecked(true);
        quran->Edit1->setText(typed);
        QElapsedTimer timer;
        timer.start();
        quran->BitBtn6->click();
        if (elapsed)
            *elapsed = timer.elapsed();
        return dialogs.texts();
    }

    void checkQuickSearchStillWorks()
    {
        const QString word = QStringLiteral("الله");
        QCOMPARE(quickSearch(quran->ar, word),
                 QStringList(foundText(
                     expectedCount(QStringLiteral("FROM num LEFT JOIN main ON num.id=main.id1 "
                                                  "WHERE search1 LIKE ?"),
                                   QLatin1Char('%') + word + QLatin1Char('%')))));
        QVERIFY(m_program->verses()->recordCount() > 1000);
    }

    QStringList searchPage(QRadioButton *scope, bool exact, const QString &typed,
                           qint64 *elapsed = nullptr)
    {
        MemoryDialogs dialogs;
        scope->click();
        search->b1->setChecked(exact);
        search->Edit2->setText(typed);
        QElapsedTimer timer;
        timer.start();
        search->BitBtn5->click();
        if (elapsed)
            *elapsed = timer.elapsed();
        return dialogs.texts();
    }

    std::unique_ptr<ScriptedSmtpServer> sendQuestion(const QString &name, const QString &address,
                                                     const QString &memo, qint64 *elapsed)
    {
        auto server = std::make_unique<ScriptedSmtpServer>();
        m_sockets->setTarget(server->port());
        question->dbEdit1->setText(name);
        question->ledFrom->setText(address);
        question->Memo1->setPlainText(memo);
        QElapsedTimer timer;
        timer.start();
        question->btnSendMail->click();
        QDeadlineTimer limit(10000);
        while (question->isSending() && !limit.hasExpired())
            QTest::qWait(5);
        *elapsed = timer.elapsed();
        if (!server->waitForClose())
            qWarning("the page left the connection open");
        return server;
    }

    QString verseText() const { return m_program->verses()->fieldText(QStringLiteral("Arabic")); }

private slots:
    void initTestCase()
    {
        m_sockets = std::make_unique<PortRedirect>();
        m_sockets->addHost(QStringLiteral("mail.kevran.test"), QStringLiteral("127.0.0.1"));
        m_program = std::make_unique<ProgramFixture>();
        QVERIFY(m_program->started());
        quran = m_program->window()->TabSheet1.get();
        search = m_program->window()->TabSheet3.get();
        question = m_program->window()->TabSheet4.get();
        question->ledHost->setText(QStringLiteral("mail.kevran.test"));
        question->SMTP->setReadTimeout(3000);

        QVERIFY(sqlite3_open_v2(KEVRAN_TEST_DATABASE, &m_db, SQLITE_OPEN_READONLY, nullptr) ==
                SQLITE_OK);
        LikeMatcher::install(m_db);
    }
    void cleanupTestCase()
    {
        sqlite3_close(m_db);
        m_program.reset();
        m_sockets.reset();
    }

    // The sura box takes a number only; anything else is refused before any statement runs,
    // and the listing stays as it was.
    void suraBox_data() { addInputs(); }
    void suraBox()
    {
        QFETCH(QString, typed);
        DataSet *verses = m_program->verses();
        quran->chapter->setText(QStringLiteral("12"));
        const QStringList before = verses->sql();
        QCOMPARE(verses->recordCount(), 111);

        MemoryDialogs dialogs;
        quran->chapter->setText(typed);
        QCOMPARE(quran->chapter->text(), typed);
        if (QLatin1String(QTest::currentDataTag()) == QLatin1String("arabic digits")) {
            // Digits of the Persian keyboard's sets are digits: sura 12 is listed.
            QVERIFY(dialogs.shown().isEmpty());
            QCOMPARE(verses->recordCount(), 111);
            QCOMPARE(verses->fieldText(QStringLiteral("chapter")), QStringLiteral("12"));
            return;
        }
        QCOMPARE(dialogs.texts(),
                 QStringList(QStringLiteral("'%1' is not a valid integer value.").arg(typed)));
        QCOMPARE(verses->sql(), before);
        QVERIFY(verses->isActive());
        QCOMPARE(verses->recordCount(), 111);

        // The box goes on working.
        dialogs.clear();
        quran->chapter->setText(QStringLiteral("2"));
        QCOMPARE(verses->sql().value(2), QStringLiteral("WHERE (chapter like '2') "));
        QCOMPARE(verses->recordCount(), 286);
        QVERIFY(dialogs.shown().isEmpty());
    }

    // The verse box: only validated digits reach the statement; anything else is refused.
    void verseBox_data() { addInputs(); }
    void verseBox()
    {
        QFETCH(QString, typed);
        DataSet *verses = m_program->verses();
        quran->chapter->setText(QStringLiteral("2"));
        MemoryDialogs dialogs;
        quran->verse->setText(typed);
        if (QLatin1String(QTest::currentDataTag()) == QLatin1String("arabic digits")) {
            // Verse 12 of sura 2, the digits given to the statement in ASCII.
            QVERIFY(dialogs.shown().isEmpty());
            QCOMPARE(verses->sql().value(2),
                     QStringLiteral("WHERE (chapter = 2) AND (vers = 12) "));
            QCOMPARE(verses->recordCount(), 1);
            return;
        }
        QCOMPARE(dialogs.texts(),
                 QStringList(QStringLiteral("'%1' is not a valid integer value.").arg(typed)));
        QVERIFY(!verses->isActive());
        QCOMPARE(verses->sql(), (QStringList{QStringLiteral("SELECT * "),
                                             QStringLiteral("From Main left join Num on "
                                                            "Main.id1=Num.id")}));

        dialogs.clear();
        quran->verse->setText(QStringLiteral("255"));
        QCOMPARE(verses->sql().value(2), QStringLiteral("WHERE (chapter = 2) AND (vers = 255) "));
        QCOMPARE(verses->recordCount(), 1);
        QVERIFY(dialogs.shown().isEmpty());
    }

    // The quick search in both scopes: the typed text is one literal, found as such.
    void quickSearch_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("column");
        for (const char *column : {"search1", "English"}) {
            for (const auto &[tag, text] : inputs())
                QTest::addRow("%s: %s", column, tag.constData()) << text << column;
        }
    }
    void quickSearch()
    {
        QFETCH(QString, typed);
        QFETCH(QString, column);
        DataSet *verses = m_program->verses();
        qint64 elapsed = 0;
        const QStringList shown = quickSearch(
            column == QLatin1String("search1") ? quran->ar : quran->fa, typed, &elapsed);
        QVERIFY2(elapsed < QuickMs, qPrintable(QString::number(elapsed)));
        QCOMPARE(verses->sql(), (QStringList{QStringLiteral("SELECT * "), QuranJoin,
                                             QStringLiteral("WHERE ( %1 like '%").arg(column) +
                                                 doubled(typed) + QStringLiteral("%') ")}));
        QVERIFY(verses->isActive());
        const int expected = expectedCount(
            QStringLiteral("FROM num LEFT JOIN main ON num.id=main.id1 WHERE %1 LIKE ?")
                .arg(column),
            QLatin1Char('%') + typed + QLatin1Char('%'));
        QCOMPARE(verses->recordCount(), expected);
        QCOMPARE(shown, QStringList(foundText(expected)));
        checkQuickSearchStillWorks();
    }

    // The hidden topic code box, filled by the topic buttons: still only ever a literal.
    void topicCodeBox_data() { addInputs(); }
    void topicCodeBox()
    {
        QFETCH(QString, typed);
        DataSet *verses = m_program->verses();
        MemoryDialogs dialogs;
        quran->b->setText(typed);
        QCOMPARE(verses->sql(), (QStringList{QStringLiteral("SELECT * "),
                                             QStringLiteral("From main left join num on "
                                                            "main.id1=num.id"),
                                             QStringLiteral("WHERE (sub like '%") + doubled(typed) +
                                                 QStringLiteral("%') ")}));
        QVERIFY(verses->isActive());
        QCOMPARE(verses->recordCount(),
                 expectedCount(QStringLiteral("FROM main LEFT JOIN num ON main.id1=num.id "
                                              "WHERE sub LIKE ?"),
                               QLatin1Char('%') + typed + QLatin1Char('%')));
        QVERIFY(dialogs.shown().isEmpty());
        quran->b->setText(QStringLiteral("tt"));
        QVERIFY(verses->recordCount() > 10);
    }

    // The search page in its four scopes, whole words and parts of words.
    void searchBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("scope");
        QTest::addColumn<bool>("exact");
        for (const char *scope : {"s1", "s2", "s3", "s4"}) {
            for (const bool exact : {false, true}) {
                for (const auto &[tag, text] : inputs())
                    QTest::addRow("%s %s: %s", scope, exact ? "exact" : "partial", tag.constData())
                        << text << scope << exact;
            }
        }
    }
    void searchBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, scope);
        QFETCH(bool, exact);
        struct Scope {
            QString from, exactColumn, partialColumn;
        };
        const QString nahj = QStringLiteral("FROM main");
        const QHash<QString, Scope> scopes = {
            {QStringLiteral("s1"), {nahj, QStringLiteral("search"), QStringLiteral("search")}},
            {QStringLiteral("s2"), {nahj, QStringLiteral("farsi"), QStringLiteral("farsi")}},
            {QStringLiteral("s3"),
             {QuranJoin, QStringLiteral("search1"), QStringLiteral("search1")}},
            {QStringLiteral("s4"),
             {QuranJoin, QStringLiteral("english"), QStringLiteral("English")}},
        };
        const Scope &in = scopes[scope];
        DataSet *results = kevran::DataModule2->ADOQuery2;

        qint64 elapsed = 0;
        const QStringList shown =
            searchPage(search->findChild<QRadioButton *>(scope), exact, typed, &elapsed);
        QVERIFY2(elapsed < QuickMs, qPrintable(QString::number(elapsed)));
        const QString pattern =
            exact ? QStringLiteral("% ") + trimmedWord(typed) + QStringLiteral(" %")
                  : QLatin1Char('%') + typed + QLatin1Char('%');
        const QString where =
            exact ? QStringLiteral("WHERE  (' ' || %1 || ' ') like '").arg(in.exactColumn) +
                        doubled(pattern) + QLatin1Char('\'')
                  : QStringLiteral("WHERE ( %1 like '").arg(in.partialColumn) + doubled(pattern) +
                        QStringLiteral("') ");
        QCOMPARE(results->sql(), (QStringList{QStringLiteral("SELECT * "), in.from, where}));
        QVERIFY(results->isActive());
        const int expected =
            expectedCount(in.from + (exact ? QStringLiteral(" WHERE (' ' || %1 || ' ') LIKE ?")
                                           : QStringLiteral(" WHERE %1 LIKE ?"))
                                        .arg(exact ? in.exactColumn : in.partialColumn),
                          pattern);
        QCOMPARE(results->recordCount(), expected);
        // The page judges by the text it shows: the first item of the book, the compiler's
        // preface, has no searchable text, so a pattern that matches an empty text ("%")
        // lists the rows and still says nothing was found.
        const bool blank = expected > 0 && results->fieldText(in.exactColumn).isEmpty();
        QCOMPARE(shown, QStringList(blank ? NothingFound : foundText(expected)));
        QCOMPARE(search->s51->text(), QString::number(blank ? 0 : expected));

        // A plain search afterwards finds what it always finds.
        const QString word = QStringLiteral("الله");
        const int plain = expectedCount(QuranJoin + QStringLiteral(" WHERE search1 LIKE ?"),
                                        QLatin1Char('%') + word + QLatin1Char('%'));
        QVERIFY(plain > 1000);
        QCOMPARE(searchPage(search->s3, false, word), QStringList(foundText(plain)));
        QCOMPARE(results->recordCount(), plain);
    }

    // The question page's name: it reaches the subject, and never makes a header of its own.
    void questionName_data() { addInputs(); }
    void questionName()
    {
        QFETCH(QString, typed);
        MemoryDialogs dialogs;
        qint64 elapsed = 0;
        const auto server =
            sendQuestion(typed, QStringLiteral("reader@x.example"), QStringLiteral("q"), &elapsed);
        QVERIFY2(elapsed < QuickMs, qPrintable(QString::number(elapsed)));
        QVERIFY(dialogs.shown().isEmpty());
        QCOMPARE(question->statusLines().first(), QStringLiteral("Status: Disconnected."));
        checkTransaction(*server, "reader@x.example");
        const QByteArray message = server->message();
        const QByteArray header = message.left(message.indexOf("\r\n\r\n"));
        checkHeaderFields(header);
        QCOMPARE(blanksFolded(ReceivedMail(message).decodedField("Subject")),
                 blanksFolded(QStringLiteral("KEVRAN2[") + typed + QLatin1Char(']')));
        QCOMPARE(question->dbEdit1->text(), typed);
    }

    // The address: a line break (or a NUL) in it is refused with a clear line in the log and
    // nothing is sent; anything else goes to MAIL FROM and the From header as typed.
    void questionAddress_data() { addInputs(); }
    void questionAddress()
    {
        QFETCH(QString, typed);
        MemoryDialogs dialogs;
        qint64 elapsed = 0;
        const auto server =
            sendQuestion(QStringLiteral("Ali"), typed, QStringLiteral("q"), &elapsed);
        QVERIFY2(elapsed < QuickMs, qPrintable(QString::number(elapsed)));
        QVERIFY(dialogs.shown().isEmpty());
        const bool refused = typed.contains(QLatin1Char('\r')) ||
                             typed.contains(QLatin1Char('\n')) || typed.contains(QChar(0));
        if (refused) {
            // Refused before any connection is made.
            QCOMPARE(question->statusLines(),
                     QStringList{QStringLiteral("ERROR: Invalid address: it holds a line "
                                                "break.")});
            QVERIFY(server->received().isEmpty());
            QVERIFY(server->message().isEmpty());
        } else {
            QCOMPARE(question->statusLines().first(), QStringLiteral("Status: Disconnected."));
            checkTransaction(*server, typed.toUtf8());
            const QByteArray message = server->message();
            const QByteArray header = message.left(message.indexOf("\r\n\r\n"));
            checkHeaderFields(header);
            QCOMPARE(ReceivedMail(message).decodedField("From"), typed.trimmed());
        }
        QCOMPARE(question->ledFrom->text(), typed);

        // The next question goes out as usual.
        const auto next = sendQuestion(QStringLiteral("Ali"), QStringLiteral("reader@x.example"),
                                       QStringLiteral("q"), &elapsed);
        checkTransaction(*next, "reader@x.example");
    }

    // The question itself: its lines arrive as typed; a line of a lone dot does not end the
    // message early.
    void questionMemo_data() { addInputs(); }
    void questionMemo()
    {
        QFETCH(QString, typed);
        MemoryDialogs dialogs;
        qint64 elapsed = 0;
        const auto server = sendQuestion(QStringLiteral("Ali"), QStringLiteral("reader@x.example"),
                                         typed, &elapsed);
        QVERIFY2(elapsed < QuickMs, qPrintable(QString::number(elapsed)));
        QVERIFY(dialogs.shown().isEmpty());
        QCOMPARE(question->statusLines().first(), QStringLiteral("Status: Disconnected."));
        checkTransaction(*server, "reader@x.example");
        const QByteArray message = server->message();
        const qsizetype end = message.indexOf("\r\n\r\n");
        const QByteArray header = message.left(end);
        checkHeaderFields(header);
        // A body beyond short ASCII lines comes in base64, each line of it short.
        QByteArray bytes = message.mid(end + 4);
        const bool base64 = header.contains("\nContent-Transfer-Encoding: base64\r");
        if (base64) {
            for (const QByteArray &line : bytes.split('\n'))
                QVERIFY(line.size() <= 77);
            bytes = QByteArray::fromBase64(bytes);
            QVERIFY(bytes.endsWith("\r\n"));
            bytes.chop(2);
        }
        QStringList body;
        for (const QByteArray &line : bytes.split('\n')) {
            QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
            if (!base64 && text.startsWith('.'))
                text.remove(0, 1);
            body.append(QString::fromUtf8(text));
        }
        QCOMPARE(body.join(QLatin1Char('\n')),
                 withLineFeeds(verseText() + QLatin1Char('[') + typed + QLatin1Char(']')));
    }

private:
    // One whole transaction, each command as the page sends it.
    void checkTransaction(const ScriptedSmtpServer &server, const QByteArray &from)
    {
        QCOMPARE(server.commands(),
                 (QList<QByteArray>{"EHLO reader-pc", "RSET", "MAIL FROM:<" + from + '>',
                                    "RCPT TO:<" + question->ledTo->text().toUtf8() + '>', "DATA",
                                    ".", "QUIT"}));
    }

    // Every header line is a continuation or one of the fields the program writes, each once.
    void checkHeaderFields(const QByteArray &header)
    {
        static const QList<QByteArray> known = {
            "From",         "Subject",      "To",
            "Content-Type", "MIME-Version", "Content-Transfer-Encoding",
            "Date",         "X-Priority",   "X-Library"};
        QList<QByteArray> seen;
        for (const QByteArray &line : header.split('\n')) {
            QVERIFY2(!line.isEmpty() && line != "\r", "an empty line inside the header");
            if (line.startsWith(' ') || line.startsWith('\t'))
                continue;
            const QByteArray name = line.left(line.indexOf(':'));
            QVERIFY2(known.contains(name) && !seen.contains(name), line.left(80).constData());
            seen.append(name);
        }
    }
};

QTEST_MAIN(tst_TypedInput)
#include "tst_typedinput.moc"
