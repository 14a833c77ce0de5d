#include "doubles/MemorySockets.h"
#include "doubles/MemoryTimeZone.h"
#include "mail/MailMessage.h"
#include "mail/SmtpClient.h"
#include "platform/Error.h"
#include "support/ErrorOf.h"
#include "support/ScriptedSmtpServer.h"

#include <QElapsedTimer>
#include <QtTest>
#include <sys/resource.h>

using Reply = ScriptedSmtpServer::Reply;
using Lines = QList<QByteArray>;

// How much the process may grow while one flood is cut off: a runaway reader grows by
// gigabytes; AddressSanitizer's quarantine alone holds tens of megabytes.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kGrowthLimitKb = 256 * 1024;
#else
constexpr long kGrowthLimitKb = 16 * 1024;
#endif

namespace {

const QString Reset = QStringLiteral("Socket Error # 10054\r\nConnection reset by peer.");
const QString TooLong = QStringLiteral("Max line length exceeded.");

void compose(MailMessage &message, int bodyLines = 3)
{
    message.clear();
    message.From.address = QStringLiteral("reader@x.example");
    message.Recipients.setText(QStringLiteral("q@kevran.example"));
    message.Subject = QStringLiteral("KEVRAN2[Ali]");
    for (int i = 0; i < bodyLines; ++i)
        message.Body.append(QStringLiteral("line %1 of the question").arg(i));
}

// The peak resident size of this process so far, in kilobytes.
long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

// The mail client against servers that misbehave at the transport level: replies that never
// end a line, floods, and connections reset while the message is on its way. Each failure must
// be reported clearly and quickly, and the next send on a fresh connection must go through.
class TestMailFaults : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void repliesWithoutLineEnd_data();
    void repliesWithoutLineEnd();
    void endlessReply_data();
    void endlessReply();
    void resetInTheMiddleOfData_data();
    void resetInTheMiddleOfData();
    void resetAfterAReply_data();
    void resetAfterAReply();

private:
    // A whole exchange on a new connection; the error it raised, empty when none.
    QString sendOnce(MailMessage &message);
    void checkNextSendWorks();

    std::unique_ptr<MemorySockets> m_sockets;
    std::unique_ptr<MemoryTimeZone> m_zone;
    std::unique_ptr<ScriptedSmtpServer> m_server;
    std::unique_ptr<SmtpClient> m_client;
    QStringList m_statuses;
    QString m_closingError;
};

void TestMailFaults::init()
{
    m_sockets = std::make_unique<MemorySockets>();
    m_zone = std::make_unique<MemoryTimeZone>(12600);
    m_server = std::make_unique<ScriptedSmtpServer>();
    m_client = std::make_unique<SmtpClient>();
    m_client->setHost(QStringLiteral("127.0.0.1"));
    m_client->setPort(m_server->port());
    m_client->setReadTimeout(3000);
    m_statuses.clear();
    connect(m_client.get(), &SmtpClient::OnStatus, this,
            [this](QObject *, SmtpClient::SmtpStatus, const QString &text) {
                m_statuses.append(text);
            });
}

void TestMailFaults::cleanup()
{
    m_client.reset();
    m_server.reset();
    m_zone.reset();
    m_sockets.reset();
}

QString TestMailFaults::sendOnce(MailMessage &message)
{
    QString error = errorOf([&] {
        m_client->Connect(1000);
        m_client->Send(message);
    });
    // As the question page does: whatever happened, the connection is closed afterwards.
    m_closingError = errorOf([&] {
        if (m_client->Connected())
            m_client->Disconnect();
    });
    return error;
}

void TestMailFaults::checkNextSendWorks()
{
    QVERIFY(m_server->waitForClose());
    m_statuses.clear();
    MailMessage message;
    compose(message);
    QCOMPARE(sendOnce(message), QString());
    QCOMPARE(m_closingError, QString());
    QVERIFY(m_server->waitForClose());
    QCOMPARE(m_server->commands().mid(m_server->commands().size() - 7),
             (Lines{"EHLO reader-pc", "RSET", "MAIL FROM:<reader@x.example>",
                    "RCPT TO:<q@kevran.example>", "DATA", ".", "QUIT"}));
    QVERIFY(m_server->message().endsWith("line 2 of the question"));
}

void TestMailFaults::repliesWithoutLineEnd_data()
{
    QTest::addColumn<QByteArray>("verb");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("good");

    const QByteArray megabyte(1 << 20, 'x');
    const QByteArray ok = "250 OK\r\n";
    QTest::newRow("greeting") << QByteArray("") << "220 " + megabyte << QByteArray("220 ready\r\n");
    QTest::newRow("ehlo") << QByteArray("EHLO") << "250-" + megabyte << ok;
    QTest::newRow("rcpt") << QByteArray("RCPT") << "250 " + megabyte << ok;
    QTest::newRow("data") << QByteArray("DATA") << "354 " + megabyte << QByteArray("354 go\r\n");
    QTest::newRow("end of data") << QByteArray(".") << "250 " + megabyte << ok;
    // A carriage return alone ends no line.
    QTest::newRow("carriage returns") << QByteArray("MAIL") << QByteArray(1 << 20, '\r') << ok;
    // The line does end, far too late.
    QTest::newRow("ended too late") << QByteArray("RCPT") << "250 " + megabyte + "\r\n" << ok;
}

void TestMailFaults::repliesWithoutLineEnd()
{
    QFETCH(QByteArray, verb);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, good);

    // The server goes on sending for as long as the client reads.
    m_server->on(verb, QList<Reply>{{reply, Reply::Silent}, {good}});
    MailMessage message;
    compose(message);
    const long before = peakKilobytes();
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(sendOnce(message), TooLong);
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    // The client reads no further than the longest line it accepts.
    QVERIFY2(peakKilobytes() - before < kGrowthLimitKb, qPrintable(QString::number(before)));
    QVERIFY(!m_client->Connected());
    checkNextSendWorks();
}

void TestMailFaults::endlessReply_data()
{
    QTest::addColumn<QByteArray>("verb");
    QTest::addColumn<QByteArray>("flood");
    QTest::addColumn<QByteArray>("good");
    QTest::addColumn<int>("readTimeout");
    QTest::addColumn<QString>("error");

    // A generous reply limit where the client must give up long before it.
    QTest::newRow("one endless line") << QByteArray("RCPT") << QByteArray(65536, 'y')
                                      << QByteArray("250 OK\r\n") << 10000 << TooLong;
    QTest::newRow("endless greeting") << QByteArray("") << "220-" + QByteArray(65536, 'g')
                                      << QByteArray("220 ready\r\n") << 10000 << TooLong;
    // A reply of ever more lines, each of them short.
    QTest::newRow("endless continuation lines")
        << QByteArray("RCPT") << QByteArray("250-x\r\n").repeated(8192) << QByteArray("250 OK\r\n")
        << 10000 << QStringLiteral("Max reply length exceeded.");
    // Blank lines are skipped, not kept; the reply limit still ends the wait.
    QTest::newRow("endless blank lines")
        << QByteArray("MAIL") << QByteArray("\r\n").repeated(8192) << QByteArray("250 OK\r\n")
        << 500 << QStringLiteral("Read Timeout");
}

void TestMailFaults::endlessReply()
{
    QFETCH(QByteArray, verb);
    QFETCH(QByteArray, flood);
    QFETCH(QByteArray, good);
    QFETCH(int, readTimeout);
    QFETCH(QString, error);

    m_server->on(verb, QList<Reply>{{flood, Reply::Flood}, {good}});
    m_client->setReadTimeout(readTimeout);
    MailMessage message;
    compose(message);
    const long before = peakKilobytes();
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(sendOnce(message), error);
    QVERIFY2(timer.elapsed() < qMin(readTimeout, 1500) + 1500,
             qPrintable(QString::number(timer.elapsed())));
    QVERIFY2(peakKilobytes() - before < kGrowthLimitKb, qPrintable(QString::number(before)));
    QVERIFY(!m_client->Connected());
    m_client->setReadTimeout(3000);
    checkNextSendWorks();
}

void TestMailFaults::resetInTheMiddleOfData_data()
{
    QTest::addColumn<int>("bodyLines");
    QTest::addColumn<int>("resetAfter");

    // A short message is all sent when the reset comes: the wait for the reply to "." sees it.
    QTest::newRow("while the reply is awaited") << 3 << 5;
    // A long message is still being written: the write sees it.
    QTest::newRow("while the message is written") << 200000 << 100;
}

void TestMailFaults::resetInTheMiddleOfData()
{
    QFETCH(int, bodyLines);
    QFETCH(int, resetAfter);

    m_server->resetInData(resetAfter);
    MailMessage message;
    compose(message, bodyLines);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(sendOnce(message), Reset);
    QVERIFY2(timer.elapsed() < 2500, qPrintable(QString::number(timer.elapsed())));
    // The client knows the connection is gone: closing it raises nothing more, and the
    // disconnection is reported once.
    QCOMPARE(m_closingError, QString());
    QVERIFY(!m_client->Connected());
    QCOMPARE(m_statuses.count(QStringLiteral("Disconnected.")), 1);
    QVERIFY(!m_server->commands().contains("."));
    QVERIFY(m_server->received().size() >= 4 + resetAfter);

    m_server->resetInData(-1);
    checkNextSendWorks();
}

void TestMailFaults::resetAfterAReply_data()
{
    QTest::addColumn<QByteArray>("verb");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("good");

    QTest::newRow("instead of a greeting")
        << QByteArray("") << QByteArray() << QByteArray("220 ready\r\n");
    QTest::newRow("in the middle of the ehlo reply")
        << QByteArray("EHLO") << QByteArray("250-first\r\n") << QByteArray("250 OK\r\n");
    QTest::newRow("after the data reply")
        << QByteArray("DATA") << QByteArray("354 go\r\n") << QByteArray("354 go\r\n");
}

void TestMailFaults::resetAfterAReply()
{
    QFETCH(QByteArray, verb);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, good);

    m_server->on(verb, QList<Reply>{{reply, Reply::Reset}, {good}});
    MailMessage message;
    compose(message);
    const QString error = sendOnce(message);
    // A reply that was already on its way may be read before the reset is seen; nothing else
    // may come of it.
    QCOMPARE(error, Reset);
    QCOMPARE(m_closingError, QString());
    QVERIFY(!m_client->Connected());
    QVERIFY(!m_server->commands().contains("."));
    checkNextSendWorks();
}

QTEST_GUILESS_MAIN(TestMailFaults)
#include "tst_mailfaults.moc"
