#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <memory>
#include <mutex>

class MailMessage;
class TcpSocket;

// A blocking SMTP client: submits mail messages over a plain TCP connection, greeting with
// EHLO and falling back to HELO, without authentication. Every failure is raised as an Error
// whose text is meant for the reader; progress is reported by OnStatus. Every wait is bounded,
// and abort() ends any of them at once from another thread, so the client may run on a thread
// of its own (SmtpExchange).
class SmtpClient : public QObject {
    Q_OBJECT
public:
    enum SmtpStatus {
        hsResolving,
        hsConnecting,
        hsConnected,
        hsStatusText,
        hsDisconnecting,
        hsDisconnected
    };
    Q_ENUM(SmtpStatus)

    // One server reply: its code (0 when the first line starts with no number) and the text of
    // each line from its fifth character on.
    struct Reply {
        int code = 0;
        QStringList lines;
        // The lines, each followed by CR LF.
        QString text() const;
    };

    static constexpr int MaxLineLength = 16384;
    // The most lines one reply may have; a server that goes on and on is cut off there.
    static constexpr int MaxReplyLines = 1000;
    static constexpr int ConnectStepMs = 125;
    static constexpr int DefaultReadTimeoutMs = 30000;
    static constexpr int DefaultResolveTimeoutMs = 5000;

    explicit SmtpClient(QObject *parent = nullptr);
    ~SmtpClient() override;

    const QString &host() const { return m_host; }
    void setHost(const QString &host) { m_host = host; }
    quint16 port() const { return m_port; }
    void setPort(quint16 port) { m_port = port; }
    bool useEhlo() const { return m_useEhlo; }
    void setUseEhlo(bool use) { m_useEhlo = use; }
    // The name sent with EHLO and HELO; empty: the local computer's host name.
    const QString &heloName() const { return m_heloName; }
    void setHeloName(const QString &name) { m_heloName = name; }
    // The value of the "X-Mailer" header of each message sent; empty: none.
    const QString &mailAgent() const { return m_mailAgent; }
    void setMailAgent(const QString &agent) { m_mailAgent = agent; }
    // The longest wait for one reply and for room to send, in milliseconds (at least 1).
    int readTimeout() const { return m_readTimeout; }
    void setReadTimeout(int ms) { m_readTimeout = qMax(1, ms); }
    // The longest wait for the host name's look-up, in milliseconds (at least 1); a look-up
    // that runs out fails like a host that is not found.
    int resolveTimeout() const { return m_resolveTimeout; }
    void setResolveTimeout(int ms) { m_resolveTimeout = qMax(1, ms); }

    // Resolves the host, connects within the time limit, reads the greeting and greets.
    // A failure after the TCP connection stands disconnects first.
    void Connect(int timeoutMs);
    // One mail transaction on the open connection; a failure leaves the connection open.
    void Send(MailMessage &message);
    bool Connected() const;
    // Sends QUIT when connected (its reply is not read) and closes the connection.
    void Disconnect();

    // Ends the wait going on now and every later one at once; callable from any thread. The
    // operation waiting fails with Aborted; Disconnect still sends QUIT where the connection
    // takes it without waiting. Holds until resetAbort().
    void abort();
    void resetAbort();
    bool aborted() const { return m_aborted; }
    static inline const QString Aborted = QStringLiteral("Aborted.");

    // Refuses a message whose sender or recipient address holds a line break or NUL: it would
    // smuggle commands of its own into the dialogue.
    static void checkAddresses(const MailMessage &message);

    // The authentication methods the server offered in its EHLO reply.
    const QStringList &authMethods() const { return m_authMethods; }

    // Whether a host is a dotted IPv4 address; gives it in canonical form.
    static bool isIPv4Address(const QString &host, QString *canonical = nullptr);

signals:
    void OnStatus(QObject *ASender, SmtpClient::SmtpStatus AStatus, const QString &AStatusText);

private:
    void status(SmtpStatus kind, const QString &text);
    QString resolve();
    void openConnection(const QString &address, int timeoutMs);
    void greet();
    // Sends one command or data line; a socket error closes the connection.
    void writeLine(const QByteArray &line);
    // The line on the open connection: false when there was no room in time.
    bool sendRaw(const QByteArray &line);
    void connectionLost();
    Reply sendCommand(const QByteArray &command, const QList<int> &expected = {});
    Reply readReply();
    QByteArray readLine(const QDeadlineTimer &deadline);
    void closeSocket();
    void throwIfAborted() const;

    struct LookUp;
    QString m_host;
    quint16 m_port = 25;
    bool m_useEhlo = true;
    QString m_heloName;
    QString m_mailAgent;
    int m_readTimeout = DefaultReadTimeoutMs;
    int m_resolveTimeout = DefaultResolveTimeoutMs;
    QStringList m_authMethods;
    std::unique_ptr<TcpSocket> m_socket;
    QByteArray m_received;

    // abort() reaches the socket and the look-up under this lock, from another thread.
    std::mutex m_abortLock;
    std::atomic<bool> m_aborted{false};
    std::shared_ptr<LookUp> m_lookUp;
};
