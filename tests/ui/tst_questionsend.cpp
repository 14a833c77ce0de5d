#include "data/DataSet.h"
#include "doubles/MemoryDialogs.h"
#include "mail/SmtpClient.h"
#include "support/ProgramFixture.h"
#include "ui/main/Tmain.h"
#include "ui/question/LabeledEdit.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// A question sent from the page to a real SMTP server on 127.0.0.1:25, the received message
// decoded by Python's own mail package.
class tst_QuestionSend : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_server;
    int m_received = 0; // messages the server has received

    // Debian's own interpreter, where its mail server package lives.
    static QString python()
    {
        const QString debian = QStringLiteral("/usr/bin/python3");
        return QFile::exists(debian) ? debian
                                     : QStandardPaths::findExecutable(QStringLiteral("python3"));
    }

    static QString script(const char *name)
    {
        return QStringLiteral(KEVRAN_TEST_MAIL_DIR "/") + QLatin1String(name);
    }

    QJsonObject decode(const QString &path)
    {
        QProcess decoder;
        decoder.start(python(), {script("decode_mail.py"), path});
        if (!decoder.waitForFinished(20000) || decoder.exitCode() != 0)
            return {};
        return QJsonDocument::fromJson(decoder.readAllStandardOutput()).object();
    }

    // Why the tests that need the real server cannot run here; empty when it runs.
    QString m_skip;

    static bool inResolverNamespace() { return qEnvironmentVariableIsSet(ResolverChildVariable); }

    // Sends the question about the current verse and waits until the exchange has ended.
    static void send(QuestionPage *page)
    {
        page->btnSendMail->click();
        QTRY_VERIFY_WITH_TIMEOUT(!page->isSending(), 60000);
    }

    // The received message's decoded form, after a send that reported no error.
    QJsonObject received(QuestionPage *page, int number)
    {
        if (page->StatusMemo->toPlainText().contains(QLatin1String("ERROR"))) {
            qWarning("%s", qPrintable(page->StatusMemo->toPlainText()));
            return {};
        }
        const QString path = m_dir.filePath(QStringLiteral("%1.eml").arg(number));
        QDeadlineTimer limit(10000);
        while (!QFile::exists(path) && !limit.hasExpired())
            QTest::qWait(20);
        return decode(path);
    }

    static constexpr const char *ResolverChildVariable = "KEVRAN_TEST_IN_RESOLVER_NAMESPACE";

private slots:
    void initTestCase()
    {
        if (inResolverNamespace())
            return;
        if (geteuid() != 0) {
            m_skip = QStringLiteral("the page always uses port 25, which only root may listen on");
            return;
        }
        if (python().isEmpty() ||
            QProcess::execute(python(),
                              {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")}) != 0) {
            m_skip = QStringLiteral("python3-aiosmtpd is not installed");
            return;
        }
        {
            QTcpServer probe;
            if (!probe.listen(QHostAddress::LocalHost, 25)) {
                m_skip = QStringLiteral("port 25 on 127.0.0.1 is taken");
                return;
            }
        }
        m_server.start(python(), {script("smtp_sink.py"), QStringLiteral("--port"),
                                  QStringLiteral("25"), QStringLiteral("--out"), m_dir.path()});
        QVERIFY(m_server.waitForStarted(10000));
        QVERIFY(m_server.waitForReadyRead(20000));
        QCOMPARE(m_server.readAllStandardOutput().trimmed(), QByteArray("ready"));
    }

    void cleanupTestCase()
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
        }
    }

    void aQuestionArrivesIntact()
    {
        if (!m_skip.isEmpty() || inResolverNamespace())
            QSKIP(qPrintable(m_skip.isEmpty() ? QStringLiteral("in the resolver test") : m_skip));
        ProgramFixture program;
        QVERIFY(program.started());
        MemoryDialogs dialogs;
        Tmain *window = program.window();
        window->TabSheet1.get()->ListBox5->setCurrentRow(1); // sura 2, verse 1
        const QString verse = program.verses()->fieldText(QStringLiteral("Arabic"));

        QuestionPage *page = window->TabSheet4.get();
        QByteArray attachment(3000, Qt::Uninitialized);
        for (char &byte : attachment)
            byte = char(QRandomGenerator::global()->bounded(256));
        const QString attachmentPath = m_dir.filePath(QStringLiteral("نامه.bin"));
        QFile file(attachmentPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(attachment);
        file.close();

        page->ledHost->setText(QStringLiteral("127.0.0.1"));
        page->dbEdit1->setText(QString::fromUtf8("علی رضایی"));
        page->ledFrom->setText(QStringLiteral("reader@example.org"));
        page->Memo1->setPlainText(QString::fromUtf8("معنای این آیه چیست؟\nسپاس"));
        page->ledAttachment->setText(attachmentPath);
        QTest::mouseClick(page->btnSendMail, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!page->isSending(), 60000);
        QVERIFY(dialogs.shown().isEmpty());
        const QJsonObject mail = received(page, ++m_received);
        QVERIFY(!mail.isEmpty());
        QCOMPARE(mail.value(QLatin1String("subject")).toString(),
                 QString::fromUtf8("KEVRAN2[علی رضایی]"));
        QVERIFY(mail.value(QLatin1String("from"))
                    .toString()
                    .contains(QLatin1String("reader@example.org")));
        QCOMPARE(mail.value(QLatin1String("to")).toString(), page->ledTo->text());
        const QString body = mail.value(QLatin1String("body")).toString();
        QVERIFY2(body.contains(verse), qPrintable(body));
        QVERIFY2(body.contains(QString::fromUtf8("[معنای این آیه چیست؟")), qPrintable(body));
        QVERIFY(body.contains(QString::fromUtf8("سپاس]")));
        QCOMPARE(mail.value(QLatin1String("defects")).toArray().size(), 0);
        const QJsonArray attachments = mail.value(QLatin1String("attachments")).toArray();
        QCOMPARE(attachments.size(), 1);
        QCOMPARE(attachments[0].toObject().value(QLatin1String("hex")).toString().toLatin1(),
                 attachment.toHex());
    }

    // The longest verse with a question of one long paragraph, and a question of many lines:
    // each arrives whole at the real server and decodes to the very bytes typed, no line of
    // the message longer than 998 octets.
    void longQuestionsArriveIntact_data()
    {
        QTest::addColumn<QString>("sura");
        QTest::addColumn<QString>("verse");
        QTest::addColumn<QString>("question");
        // 600 letters in one paragraph: Persian words, Persian digits, the zero-width
        // non-joiner, and words pasted from the Arabic pane with their marks.
        QString paragraph;
        const QStringList words = {QStringLiteral("می\u200cخواهم"), QStringLiteral("بدانم"),
                                   QStringLiteral("۱۲۳"), QStringLiteral("الرَّحْمَٰنِ"),
                                   QStringLiteral("کیست؟")};
        for (int i = 0; paragraph.size() < 600; ++i)
            paragraph += words[i % words.size()] + QLatin1Char(' ');
        QTest::newRow("2:282, one paragraph") << "2"
                                              << "282" << paragraph.left(600);
        QStringList lines;
        for (int i = 1; i <= 50; ++i)
            lines += QStringLiteral("سطر %1 از پرسش").arg(i);
        QTest::newRow("1:1, 50 lines") << "1"
                                       << "1" << lines.join(QLatin1Char('\n'));
        QTest::newRow("2:282, ASCII") << "2"
                                      << "282" << QString(1500, QLatin1Char('a'));
    }
    void longQuestionsArriveIntact()
    {
        if (!m_skip.isEmpty() || inResolverNamespace())
            QSKIP(qPrintable(m_skip.isEmpty() ? QStringLiteral("in the resolver test") : m_skip));
        QFETCH(QString, sura);
        QFETCH(QString, verse);
        QFETCH(QString, question);
        ProgramFixture program;
        QVERIFY(program.started());
        MemoryDialogs dialogs;
        Tmain *window = program.window();
        window->TabSheet1.get()->chapter->setText(sura);
        window->TabSheet1.get()->verse->setText(verse);
        QCOMPARE(program.verses()->fieldText(QStringLiteral("vers")), verse);
        const QString text = program.verses()->fieldText(QStringLiteral("Arabic"));
        if (sura == QLatin1String("2"))
            QVERIFY(text.toUtf8().size() > 998);

        QuestionPage *page = window->TabSheet4.get();
        page->ledHost->setText(QStringLiteral("127.0.0.1"));
        page->dbEdit1->setText(QStringLiteral("علی"));
        page->ledFrom->setText(QStringLiteral("reader@example.org"));
        page->Memo1->setPlainText(question);
        send(page);
        QVERIFY(dialogs.shown().isEmpty());
        const QJsonObject mail = received(page, ++m_received);
        QVERIFY(!mail.isEmpty());
        QCOMPARE(mail.value(QLatin1String("defects")).toArray().size(), 0);
        QVERIFY(mail.value(QLatin1String("longestLine")).toInt() <= 998);
        QCOMPARE(mail.value(QLatin1String("charset")).toString(), QStringLiteral("utf-8"));
        QByteArray expected = (text + QLatin1Char('[') + question + QLatin1Char(']')).toUtf8();
        expected.replace("\n", "\r\n");
        QCOMPARE(QByteArray::fromHex(mail.value(QLatin1String("bodyHex")).toString().toLatin1()),
                 expected + "\r\n");
    }

    // A name server that never answers: the look-up ends at its bound, as a host that is not
    // found, and the window goes on all the while. Runs the test below in a mount namespace
    // of its own, whose resolv.conf names a loopback address where a socket swallows every
    // query.
    void unansweredLookUp()
    {
        if (inResolverNamespace())
            QSKIP("this is the resolver test's own run");
        if (geteuid() != 0)
            QSKIP("a mount namespace of its own needs root");
        const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
        if (unshare.isEmpty())
            QSKIP("unshare is not installed");

        const int swallower = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        QVERIFY(swallower >= 0);
        const auto closeSwallower = qScopeGuard([&] { ::close(swallower); });
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(53);
        address.sin_addr.s_addr = htonl(0x7f00004d); // 127.0.0.77
        if (::bind(swallower, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
            QSKIP("127.0.0.77:53 is taken");

        const QString resolvConf = m_dir.filePath(QStringLiteral("resolv.conf"));
        QFile conf(resolvConf);
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("nameserver 127.0.0.77\noptions timeout:5 attempts:2\n");
        conf.close();

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(ResolverChildVariable), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(unshare,
                    {QStringLiteral("--mount"), QStringLiteral("--"), QStringLiteral("sh"),
                     QStringLiteral("-c"),
                     QStringLiteral("mount --bind \"$1\" /etc/resolv.conf && "
                                    "exec \"$2\" lookUpInNamespace"),
                     QStringLiteral("sh"), resolvConf, QCoreApplication::applicationFilePath()});
        QVERIFY(child.waitForFinished(60000));
        const QByteArray output = child.readAll();
        if (output.contains("mount: ") && child.exitCode() != 0)
            QSKIP(qPrintable(QStringLiteral("no mount namespace here: ") +
                             QString::fromLocal8Bit(output.trimmed())));
        QVERIFY2(child.exitCode() == 0, output.constData());
        QVERIFY2(output.contains("PASS   : tst_QuestionSend::lookUpInNamespace()"),
                 output.constData());

        // The queries did reach the name server that never answers.
        char datagram[512];
        QVERIFY(::recv(swallower, datagram, sizeof datagram, MSG_DONTWAIT) > 0);
    }
    void lookUpInNamespace()
    {
        if (!inResolverNamespace())
            QSKIP("runs in the namespace that unansweredLookUp sets up");
        ProgramFixture program;
        QVERIFY(program.started());
        MemoryDialogs dialogs;
        QuestionPage *page = program.window()->TabSheet4.get();
        page->ledHost->setText(QStringLiteral("mail.kevran.test"));
        page->dbEdit1->setText(QStringLiteral("Ali"));
        page->ledFrom->setText(QStringLiteral("reader@example.org"));
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] { ++ticks; });
        timer.start(50);
        QElapsedTimer elapsed;
        elapsed.start();
        page->btnSendMail->click();
        QTRY_VERIFY_WITH_TIMEOUT(!page->isSending(), 30000);
        const qint64 took = elapsed.elapsed();
        // The resolver alone would take 2 attempts of 5 s; the look-up is bounded at 5 s.
        QVERIFY2(took >= SmtpClient::DefaultResolveTimeoutMs - 100 &&
                     took < SmtpClient::DefaultResolveTimeoutMs + 1500,
                 qPrintable(QString::number(took)));
        QVERIFY2(ticks > took / 50 / 2, qPrintable(QString::number(ticks)));
        QCOMPARE(page->statusLines(),
                 (QStringList{QStringLiteral("ERROR: Socket Error # 11001"),
                              QStringLiteral("Host not found."),
                              QStringLiteral("Status: Resolving hostname mail.kevran.test.")}));
        QVERIFY(dialogs.shown().isEmpty());
    }
};

QTEST_MAIN(tst_QuestionSend)
#include "tst_questionsend.moc"
