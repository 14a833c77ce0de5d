#include "doubles/MemorySockets.h"
#include "doubles/MemoryTimeZone.h"
#include "mail/MailMessage.h"
#include "mail/SmtpClient.h"
#include "platform/Error.h"
#include "platform/SystemSockets.h"
#include "support/ErrorOf.h"
#include "support/ScriptedSmtpServer.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using Reply = ScriptedSmtpServer::Reply;
using Lines = QList<QByteArray>;

namespace {

const QString Connecting = QStringLiteral("Connecting to 127.0.0.1.");
const QString ConnectedText = QStringLiteral("Connected.");
const QString Disconnecting = QStringLiteral("Disconnecting.");
const QString Disconnected = QStringLiteral("Disconnected.");

void compose(MailMessage &message)
{
    message.From.address = QStringLiteral("reader@x.example");
    message.Recipients.setText(QStringLiteral("q@kevran.example, second@kevran.example"));
    message.CCList.setText(QStringLiteral("cc@kevran.example"));
    message.BccList.setText(QStringLiteral("bcc@kevran.example"));
    message.Subject = QStringLiteral("KEVRAN2[Ali]");
    message.Body = {QStringLiteral("verse[question"), QStringLiteral(".]")};
}

// A file of 24 MB, more than any socket takes without the peer reading.
QString largeFile(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("large.bin"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    const QByteArray block(1 << 20, 'k');
    for (int i = 0; i < 24; ++i)
        file.write(block);
    return path;
}

// A resolver that takes its time. A look-up that ran out is left to finish on its own, after
// the service is gone.
class SlowResolver : public SystemSockets {
public:
    Resolver resolver() override
    {
        return [](const QString &) {
            QThread::msleep(1500);
            return QStringLiteral("127.0.0.1");
        };
    }
};

// Runs an operation on a thread of its own, as the question page does, and aborts it after a
// while; the error it ended with and how long it ran past the abort.
struct Aborted {
    QString error;
    qint64 afterAbortMs;
};
Aborted abortAfter(SmtpClient &client, int ms, const std::function<void()> &operation)
{
    QString error;
    std::thread worker([&] { error = errorOf(operation); });
    QThread::msleep(ulong(ms));
    QElapsedTimer timer;
    timer.start();
    client.abort();
    worker.join();
    return {error, timer.elapsed()};
}

} // namespace

class TestSmtpClient : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void sendsMessages();
    void hostNames();
    void ipv4Addresses_data();
    void ipv4Addresses();
    void unresolvableHost();
    void socketErrorTexts_data();
    void socketErrorTexts();
    void refusedConnection();
    void connectTimeout();
    void connectTimeoutOnFullBacklog();
    void greeting_data();
    void greeting();
    void replies_data();
    void replies();
    void transactionFailures_data();
    void transactionFailures();
    void notConnected();
    void addressWithLineBreakSendsNothing();
    void attachmentFailureInsideData();
    void serverThatStopsReading();
    void boundedLookUp();
    void abortEndsEveryWait();

private:
    void connectClient() { m_client->Connect(1000); }

    std::unique_ptr<MemorySockets> m_sockets;
    std::unique_ptr<MemoryTimeZone> m_zone;
    std::unique_ptr<ScriptedSmtpServer> m_server;
    std::unique_ptr<SmtpClient> m_client;
    QStringList m_statuses;
    QList<SmtpClient::SmtpStatus> m_kinds;
};

void TestSmtpClient::init()
{
    m_sockets = std::make_unique<MemorySockets>();
    m_sockets->addHost(QStringLiteral("mail.kevran.test"), QStringLiteral("127.0.0.1"));
    m_zone = std::make_unique<MemoryTimeZone>(12600);
    m_server = std::make_unique<ScriptedSmtpServer>();
    m_client = std::make_unique<SmtpClient>();
    m_client->setHost(QStringLiteral("127.0.0.1"));
    m_client->setPort(m_server->port());
    m_client->setReadTimeout(2000);
    m_statuses.clear();
    m_kinds.clear();
    connect(m_client.get(), &SmtpClient::OnStatus, this,
            [this](QObject *sender, SmtpClient::SmtpStatus kind, const QString &text) {
                QCOMPARE(sender, m_client.get());
                m_kinds.append(kind);
                m_statuses.append(text);
            });
}

void TestSmtpClient::cleanup()
{
    // Statuses from an operation that ran on another thread, while their client still exists.
    QCoreApplication::sendPostedEvents();
    m_client.reset();
    m_server.reset();
    m_zone.reset();
    m_sockets.reset();
}

void TestSmtpClient::sendsMessages()
{
    QCOMPARE(m_client->objectName(), QStringLiteral("SMTP"));
    MailMessage message;
    compose(message);
    connectClient();
    QVERIFY(m_client->Connected());
    QCOMPARE(m_client->authMethods(), (QStringList{"PLAIN", "LOGIN"}));
    m_client->Send(message);
    const QByteArray first = m_server->message();
    m_client->setMailAgent(QStringLiteral("KEVRAN test"));
    m_client->Send(message);
    QVERIFY(m_client->Connected());
    m_client->Disconnect();
    QVERIFY(!m_client->Connected());
    QVERIFY(m_server->waitForClose());

    const Lines transaction{"RSET",
                            "MAIL FROM:<reader@x.example>",
                            "RCPT TO:<q@kevran.example>",
                            "RCPT TO:<second@kevran.example>",
                            "RCPT TO:<cc@kevran.example>",
                            "RCPT TO:<bcc@kevran.example>",
                            "DATA",
                            "."};
    QCOMPARE(m_server->commands(),
             Lines{"EHLO reader-pc"} + transaction + transaction + Lines{"QUIT"});
    QCOMPARE(m_statuses, (QStringList{Connecting, ConnectedText, "Encoding text", "Encoding text",
                                      Disconnecting, Disconnected}));
    QCOMPARE(m_kinds, (QList<SmtpClient::SmtpStatus>{
                          SmtpClient::hsConnecting, SmtpClient::hsConnected,
                          SmtpClient::hsStatusText, SmtpClient::hsStatusText,
                          SmtpClient::hsDisconnecting, SmtpClient::hsDisconnected}));

    const Lines lines = first.split('\n');
    QVERIFY(lines.contains("Subject: KEVRAN2[Ali]\r"));
    QVERIFY(lines.contains("To: q@kevran.example, second@kevran.example\r"));
    QVERIFY(lines.contains("Cc: cc@kevran.example\r"));
    QVERIFY(!first.contains("bcc@"));
    QVERIFY(!first.contains("X-Mailer"));
    QVERIFY(first.endsWith("\r\nverse[question\r\n..]"));
    QVERIFY(m_server->message().contains("\r\nX-Mailer: KEVRAN test\r\n"));
}

void TestSmtpClient::hostNames()
{
    m_client->setHost(QStringLiteral("localhost"));
    connectClient();
    m_client->Disconnect();
    QCOMPARE(m_statuses.mid(0, 3),
             (QStringList{"Resolving hostname localhost.", Connecting, ConnectedText}));
    QVERIFY(m_sockets->lookups().isEmpty());

    m_statuses.clear();
    m_client->setHost(QStringLiteral("mail.kevran.test"));
    connectClient();
    m_client->Disconnect();
    QCOMPARE(m_statuses.mid(0, 2),
             (QStringList{"Resolving hostname mail.kevran.test.", Connecting}));
    QCOMPARE(m_sockets->lookups(), QStringList{"mail.kevran.test"});

    m_statuses.clear();
    m_client->setHost(QStringLiteral("127.000.0.01"));
    connectClient();
    m_client->Disconnect();
    QCOMPARE(m_statuses.mid(0, 2), (QStringList{Connecting, ConnectedText}));
}

void TestSmtpClient::ipv4Addresses_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("canonical");
    QTest::newRow("plain") << "192.168.0.1"
                           << "192.168.0.1";
    QTest::newRow("zeros") << "010.0.000.255"
                           << "10.0.0.255";
    QTest::newRow("too large") << "256.1.1.1"
                               << "";
    QTest::newRow("three parts") << "1.2.3"
                                 << "";
    QTest::newRow("trailing dot") << "1.2.3.4."
                                  << "";
    QTest::newRow("blank") << " 1.2.3.4"
                           << "";
    QTest::newRow("sign") << "+1.2.3.4"
                          << "";
    QTest::newRow("name") << "mail.kevran.example"
                          << "";
}

void TestSmtpClient::ipv4Addresses()
{
    QFETCH(QString, host);
    QFETCH(QString, canonical);
    QString got;
    QCOMPARE(SmtpClient::isIPv4Address(host, &got), !canonical.isEmpty());
    QCOMPARE(got, canonical);
}

void TestSmtpClient::unresolvableHost()
{
    m_client->setHost(QStringLiteral("nowhere.kevran.test"));
    QCOMPARE(errorOf([&] { connectClient(); }),
             QStringLiteral("Socket Error # 11001\r\nHost not found."));
    QCOMPARE(m_statuses, QStringList{"Resolving hostname nowhere.kevran.test."});
    QVERIFY(!m_client->Connected());

    // The system resolver: a name under ".invalid" never resolves.
    const QString text = errorOf([] { SystemSockets::lookUp(QStringLiteral("kevran.invalid")); });
    QVERIFY2(
        text == QStringLiteral("Socket Error # 11001\r\nHost not found.") ||
            text == QStringLiteral("Socket Error # 11002\r\nTemporary failure in name resolution."),
        qPrintable(text));
    QVERIFY(!SystemSockets().localHostName().isEmpty());
}

void TestSmtpClient::socketErrorTexts_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("refused") << ECONNREFUSED << 10061 << "Connection refused.";
    QTest::newRow("timed out") << ETIMEDOUT << 10060 << "Connection timed out.";
    QTest::newRow("reset") << ECONNRESET << 10054 << "Connection reset by peer.";
    QTest::newRow("no route") << EHOSTUNREACH << 10065 << "No route to host.";
    QTest::newRow("unreachable") << ENETUNREACH << 10051 << "Network is unreachable.";
    QTest::newRow("other") << EACCES << EACCES << "Permission denied";
}

void TestSmtpClient::socketErrorTexts()
{
    QFETCH(int, error);
    QFETCH(int, code);
    QFETCH(QString, text);
    const auto [gotCode, gotText] = SystemSockets::describeErrno(error);
    QCOMPARE(gotCode, code);
    QCOMPARE(gotText, text);
    QCOMPARE(SystemSockets::describeResolverError(EAI_NONAME, 0).first, 11001);
}

void TestSmtpClient::refusedConnection()
{
    m_client->setPort(ScriptedSmtpServer::closedPort());
    QCOMPARE(errorOf([&] { connectClient(); }),
             QStringLiteral("Socket Error # 10061\r\nConnection refused."));
    QCOMPARE(m_statuses, QStringList{Connecting});
    QVERIFY(!m_client->Connected());

    // The client connects afresh after a failure.
    m_client->setPort(m_server->port());
    connectClient();
    QVERIFY(m_client->Connected());
}

void TestSmtpClient::connectTimeout()
{
    m_sockets->setConnectHangs(true);
    m_client->setHost(QStringLiteral("mail.kevran.test"));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(errorOf([&] { connectClient(); }), QStringLiteral("Connect timed out."));
    QVERIFY(timer.elapsed() >= 1000);
    QVERIFY2(timer.elapsed() < 1125 + 100, qPrintable(QString::number(timer.elapsed())));
    // Steps of 125 ms, the last one waiting out what is left of the second.
    const QList<int> waits = m_sockets->connectWaits();
    QVERIFY(waits.size() == 7 || waits.size() == 8);
    QCOMPARE(waits.mid(0, 6), QList<int>(6, 125));
    for (const int wait : waits)
        QVERIFY(wait > 0 && wait <= 125);
    QCOMPARE(m_statuses, (QStringList{"Resolving hostname mail.kevran.test.", Connecting}));
    QVERIFY(!m_client->Connected());
}

void TestSmtpClient::connectTimeoutOnFullBacklog()
{
    // A loopback listener that never accepts: once its queue is full, new attempts get no
    // answer at all.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    QVERIFY(::bind(listener, reinterpret_cast<sockaddr *>(&address), length) == 0);
    QVERIFY(::listen(listener, 0) == 0);
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);
    QList<int> fillers;
    bool full = false;
    for (int i = 0; i < 8 && !full; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        fillers.append(fd);
        ::connect(fd, reinterpret_cast<sockaddr *>(&address), length);
        pollfd item{fd, POLLOUT, 0};
        full = ::poll(&item, 1, 200) == 0;
    }
    const auto closeAll = [&] {
        for (const int fd : fillers)
            ::close(fd);
        ::close(listener);
    };
    if (!full) {
        closeAll();
        QSKIP("the listen queue never filled up");
    }

    m_client->setPort(ntohs(address.sin_port));
    QElapsedTimer timer;
    timer.start();
    const QString text = errorOf([&] { connectClient(); });
    const qint64 elapsed = timer.elapsed();
    closeAll();
    QCOMPARE(text, QStringLiteral("Connect timed out."));
    QVERIFY(elapsed >= 1000);
    QVERIFY2(elapsed < 1125 + 100, qPrintable(QString::number(elapsed)));
    QCOMPARE(m_statuses, QStringList{Connecting});
}

void TestSmtpClient::greeting_data()
{
    QTest::addColumn<QByteArray>("greeting");
    QTest::addColumn<int>("greetingAction");
    QTest::addColumn<QByteArray>("ehlo");
    QTest::addColumn<QByteArray>("helo");
    QTest::addColumn<QString>("error");
    QTest::addColumn<Lines>("commands");
    QTest::addColumn<QStringList>("statuses");

    const QByteArray ok250 = "250 ok\r\n";
    const QStringList closed{Connecting, ConnectedText, Disconnecting, Disconnected};
    QTest::newRow("greeting not 220") << QByteArray("554 No service here\r\n") << int(Reply::Answer)
                                      << ok250 << ok250 << "No service here\r\n"
                                      << Lines{"QUIT"} << closed;
    QTest::newRow("multi-line greeting")
        << QByteArray("220-first\r\n220-second\r\n220 last\r\n") << int(Reply::Answer) << ok250
        << ok250 << "" << Lines{"EHLO reader-pc"} << QStringList{Connecting, ConnectedText};
    QTest::newRow("ehlo refused, helo accepted")
        << QByteArray("220 hi\r\n") << int(Reply::Answer) << QByteArray("500 What?\r\n") << ok250
        << "" << Lines{"EHLO reader-pc", "HELO reader-pc"}
        << QStringList{Connecting, ConnectedText};
    QTest::newRow("ehlo and helo refused")
        << QByteArray("220 hi\r\n") << int(Reply::Answer) << QByteArray("500 What?\r\n")
        << QByteArray("501 Bad name\r\n") << "Bad name\r\n"
        << Lines{"EHLO reader-pc", "HELO reader-pc", "QUIT"} << closed;
    QTest::newRow("closed in the middle of the greeting")
        << QByteArray("220-first\r\n") << int(Reply::Close) << ok250 << ok250
        << "Connection Closed Gracefully." << Lines{}
        << QStringList{Connecting, ConnectedText, Disconnected, Disconnecting, Disconnected};
    QTest::newRow("line of 16384 characters")
        << "220 " + QByteArray(16380, 'x') + "\r\n"
        << int(Reply::Answer) << ok250 << ok250 << "" << Lines{"EHLO reader-pc"}
        << QStringList{Connecting, ConnectedText};
    QTest::newRow("line of 16385 characters")
        << "220 " + QByteArray(16381, 'x') + "\r\n"
        << int(Reply::Answer) << ok250 << ok250 << "Max line length exceeded." << Lines{"QUIT"}
        << closed;
    QTest::newRow("endless line") << "220 " + QByteArray(40000, 'x') << int(Reply::Silent) << ok250
                                  << ok250 << "Max line length exceeded." << Lines{"QUIT"}
                                  << closed;
    QTest::newRow("no greeting") << QByteArray() << int(Reply::Silent) << ok250 << ok250
                                 << "Read Timeout" << Lines{"QUIT"} << closed;
    QTest::newRow("no answer to ehlo")
        << QByteArray("220 hi\r\n") << int(Reply::Answer) << QByteArray() << ok250 << "Read Timeout"
        << Lines{"EHLO reader-pc", "QUIT"} << closed;
}

void TestSmtpClient::greeting()
{
    QFETCH(QByteArray, greeting);
    QFETCH(int, greetingAction);
    QFETCH(QByteArray, ehlo);
    QFETCH(QByteArray, helo);
    QFETCH(QString, error);
    QFETCH(Lines, commands);
    QFETCH(QStringList, statuses);

    m_server->setGreeting(greeting, Reply::Action(greetingAction));
    m_server->on("EHLO", ehlo, ehlo.isEmpty() ? Reply::Silent : Reply::Answer);
    m_server->on("HELO", helo);
    m_client->setReadTimeout(300);
    QCOMPARE(errorOf([&] { connectClient(); }), error);
    QCOMPARE(m_statuses, statuses);
    QCOMPARE(m_client->Connected(), error.isEmpty());
    m_client->setReadTimeout(2000);
    if (m_client->Connected()) {
        MailMessage message;
        compose(message);
        m_client->Send(message);
        m_client->Disconnect();
    }
    QVERIFY(m_server->waitForClose());
    QCOMPARE(m_server->commands().mid(0, commands.size()), commands);
}

void TestSmtpClient::replies_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("error");

    QTest::newRow("multi-line") << QByteArray("550-first\r\n550-second\r\n550 last\r\n")
                                << "first\r\nsecond\r\nlast\r\n";
    QTest::newRow("code alone") << QByteArray("550\r\n") << "\r\n";
    QTest::newRow("blank lines and blanks skipped")
        << QByteArray("\r\n \t\r\n  550 No such user  \r\n") << "No such user\r\n";
    QTest::newRow("bare line feeds") << QByteArray("550-a\n550 b\n") << "a\r\nb\r\n";
    QTest::newRow("no number, ends case-insensitively")
        << QByteArray("abc-one\r\nABC two\r\n") << "one\r\ntwo\r\n";
    QTest::newRow("continuation with another code")
        << QByteArray("550-one\r\n251-two\r\n550 three\r\n") << "one\r\ntwo\r\nthree\r\n";
    QTest::newRow("251 accepted") << QByteArray("251 Will forward\r\n") << "";
    QTest::newRow("multi-line 250 accepted")
        << QByteArray("250-first\r\n250-second\r\n250 last\r\n") << "";
}

void TestSmtpClient::replies()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, error);
    m_server->on("RCPT", reply);
    MailMessage message;
    compose(message);
    connectClient();
    QCOMPARE(errorOf([&] { m_client->Send(message); }), error);
    QVERIFY(m_client->Connected());
    QCOMPARE(m_server->commands().contains("DATA"), error.isEmpty());
}

void TestSmtpClient::transactionFailures_data()
{
    QTest::addColumn<QByteArray>("verb");
    QTest::addColumn<QList<Reply>>("reply");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QByteArray>("lastCommand");
    QTest::addColumn<bool>("connected");

    QTest::newRow("rset error ignored")
        << QByteArray("RSET") << QList<Reply>{{"500 No\r\n"}} << "" << QByteArray(".") << true;
    QTest::newRow("sender refused")
        << QByteArray("MAIL") << QList<Reply>{{"550 Sender refused\r\n"}} << "Sender refused\r\n"
        << QByteArray("MAIL FROM:<reader@x.example>") << true;
    QTest::newRow("second recipient unknown")
        << QByteArray("RCPT") << QList<Reply>{{"251 Forwarded\r\n"}, {"550 No such user\r\n"}}
        << "No such user\r\n"
        << QByteArray("RCPT TO:<second@kevran.example>") << true;
    QTest::newRow("data refused") << QByteArray("DATA") << QList<Reply>{{"554 No data\r\n"}}
                                  << "No data\r\n"
                                  << QByteArray("DATA") << true;
    QTest::newRow("message refused")
        << QByteArray(".") << QList<Reply>{{"552 Too big\r\n"}} << "Too big\r\n"
        << QByteArray(".") << true;
    QTest::newRow("closed in the middle of a reply")
        << QByteArray("RCPT") << QList<Reply>{{"250-fine\r\n", Reply::Close}}
        << "Connection Closed Gracefully." << QByteArray("RCPT TO:<q@kevran.example>") << false;
    QTest::newRow("no answer to data") << QByteArray("DATA") << QList<Reply>{{"", Reply::Silent}}
                                       << "Read Timeout" << QByteArray("DATA") << true;
}

void TestSmtpClient::transactionFailures()
{
    QFETCH(QByteArray, verb);
    QFETCH(QList<Reply>, reply);
    QFETCH(QString, error);
    QFETCH(QByteArray, lastCommand);
    QFETCH(bool, connected);

    m_server->on(verb, reply);
    m_client->setReadTimeout(300);
    MailMessage message;
    compose(message);
    connectClient();
    QCOMPARE(errorOf([&] { m_client->Send(message); }), error);
    QCOMPARE(m_client->Connected(), connected);
    QCOMPARE(m_statuses.contains(Disconnected), !connected);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->commands().last(), lastCommand, 2000);

    // The caller closes the connection: QUIT when it is still open.
    m_statuses.clear();
    if (m_client->Connected())
        m_client->Disconnect();
    QVERIFY(m_server->waitForClose());
    QCOMPARE(m_server->received().last() == "QUIT", connected);
    const QStringList closing{Disconnecting, Disconnected};
    QCOMPARE(m_statuses, connected ? closing : QStringList());
}

void TestSmtpClient::notConnected()
{
    MailMessage message;
    compose(message);
    QCOMPARE(errorOf([&] { m_client->Send(message); }), QStringLiteral("Not Connected"));
    QCOMPARE(errorOf([&] { m_client->Disconnect(); }), QString());
    QCOMPARE(m_statuses, (QStringList{Disconnecting, Disconnected}));
}

void TestSmtpClient::addressWithLineBreakSendsNothing()
{
    MailMessage message;
    compose(message);
    message.From.address = QStringLiteral("a@x.example>\r\nRCPT TO:<victim@x.example");
    connectClient();
    QVERIFY(!errorOf([&] { m_client->Send(message); }).isEmpty());
    compose(message);
    message.BccList.add(MailAddress(QStringLiteral("b@x.example\nDATA")));
    QVERIFY(!errorOf([&] { m_client->Send(message); }).isEmpty());
    m_client->Disconnect();
    QVERIFY(m_server->waitForClose());
    QCOMPARE(m_server->commands(), (Lines{"EHLO reader-pc", "QUIT"}));
}

void TestSmtpClient::attachmentFailureInsideData()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("gone.bin"));
    MailMessage message;
    compose(message);
    message.addAttachment(missing);
    connectClient();
    QCOMPARE(errorOf([&] { m_client->Send(message); }),
             QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(missing));
    QVERIFY(m_client->Connected());
    QCOMPARE(m_statuses.last(), QStringLiteral("Encoding attachment"));
    m_client->Disconnect();
    QVERIFY(m_server->waitForClose());
    // The message stays unfinished: QUIT arrives as message data, without the final ".".
    QCOMPARE(m_server->received().last(), QByteArray("QUIT"));
    QVERIFY(!m_server->commands().contains("."));
}

void TestSmtpClient::serverThatStopsReading()
{
    QTemporaryDir dir;
    const QString path = largeFile(dir);
    QVERIFY(QFileInfo(path).size() > 0);
    m_server->on("DATA", "354 go ahead\r\n", Reply::Stall);
    MailMessage message;
    compose(message);
    message.addAttachment(path);
    connectClient();
    m_client->setReadTimeout(300);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(errorOf([&] { m_client->Send(message); }), QStringLiteral("Write Timeout"));
    QVERIFY(timer.elapsed() < 5000);
    // Whether QUIT still finds room or not, the connection is closed.
    const QString quit = errorOf([&] { m_client->Disconnect(); });
    QVERIFY(quit.isEmpty() || quit == QStringLiteral("Write Timeout"));
    QVERIFY(!m_client->Connected());
}

// A look-up that takes longer than its bound fails as a host that is not found, at the bound.
void TestSmtpClient::boundedLookUp()
{
    auto slow = std::make_unique<SlowResolver>();
    Sockets::setCurrent(slow.get());
    const auto restore = qScopeGuard([this] { Sockets::setCurrent(m_sockets.get()); });
    m_client->setHost(QStringLiteral("mail.kevran.test"));
    m_client->setResolveTimeout(200);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(errorOf([&] { connectClient(); }),
             QStringLiteral("Socket Error # 11001\r\nHost not found."));
    QVERIFY(timer.elapsed() >= 200 && timer.elapsed() < 1000);
    QCOMPARE(m_statuses, QStringList{QStringLiteral("Resolving hostname mail.kevran.test.")});

    // One that answers within its bound goes ahead.
    m_client->setResolveTimeout(5000);
    connectClient();
    QVERIFY(m_client->Connected());
    m_client->Disconnect();

    // An abort ends the wait for a look-up at once.
    const Aborted aborted = abortAfter(*m_client, 100, [&] { connectClient(); });
    QCOMPARE(aborted.error, SmtpClient::Aborted);
    QVERIFY(aborted.afterAbortMs < 100);
}

// An abort from another thread ends the wait going on at once, whatever it waits for; QUIT
// still goes out, the connection is closed, and after resetAbort() the client works again.
void TestSmtpClient::abortEndsEveryWait()
{
    // The greeting that never comes.
    m_client->setReadTimeout(30000);
    m_server->setGreeting(QByteArray(), Reply::Silent);
    Aborted aborted = abortAfter(*m_client, 100, [&] { connectClient(); });
    QCOMPARE(aborted.error, SmtpClient::Aborted);
    QVERIFY(aborted.afterAbortMs < 100);
    QVERIFY(!m_client->Connected());
    QVERIFY(m_server->waitForClose());
    QCOMPARE(m_server->commands(), Lines{"QUIT"});
    // The statuses came from the other thread.
    QCoreApplication::sendPostedEvents();
    QCOMPARE(m_statuses.mid(m_statuses.size() - 2), (QStringList{Disconnecting, Disconnected}));

    // A server that stops reading in the middle of the data: the abort ends the wait for room.
    m_client->resetAbort();
    m_server = std::make_unique<ScriptedSmtpServer>();
    m_client->setPort(m_server->port());
    m_server->on("DATA", "354 go ahead\r\n", Reply::Stall);
    QTemporaryDir dir;
    const QString path = largeFile(dir);
    QVERIFY(QFileInfo(path).size() > 0);
    MailMessage message;
    compose(message);
    message.addAttachment(path);
    connectClient();
    aborted = abortAfter(*m_client, 500, [&] { m_client->Send(message); });
    QCOMPARE(aborted.error, SmtpClient::Aborted);
    QVERIFY(aborted.afterAbortMs < 100);
    const QString quit = errorOf([&] { m_client->Disconnect(); });
    QVERIFY(quit.isEmpty() || quit == SmtpClient::Aborted);
    QVERIFY(!m_client->Connected());

    // Until reset, every wait ends at once; then the client works as before.
    m_server = std::make_unique<ScriptedSmtpServer>();
    m_client->setPort(m_server->port());
    QCOMPARE(errorOf([&] { connectClient(); }), SmtpClient::Aborted);
    m_client->resetAbort();
    message.MessageParts.clear();
    connectClient();
    m_client->Send(message);
    m_client->Disconnect();
    QVERIFY(m_server->message().contains("verse[question"));
}

QTEST_GUILESS_MAIN(TestSmtpClient)
#include "tst_SmtpClient.moc"
