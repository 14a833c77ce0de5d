#pragma once

#include <QObject>
#include <QString>

class MailMessage;
class QThread;
class SmtpClient;

// One whole exchange of an SMTP client, on a thread of its own so that the caller's event loop
// goes on: Connect, Send and, when the connection is still open, Disconnect. The client's
// status events, failed, closeFailed and finished reach receivers on the caller's thread in
// the order they happen. Neither the client nor the message may be touched while it runs.
class SmtpExchange : public QObject {
    Q_OBJECT
public:
    explicit SmtpExchange(SmtpClient *client, QObject *parent = nullptr);
    // Ends a running exchange first, as abortAndWait() does.
    ~SmtpExchange() override;

    // Starts the exchange; does nothing while one is running.
    void start(MailMessage *message, int connectTimeoutMs);
    // True from start() until finished has been emitted.
    bool isRunning() const { return m_thread != nullptr; }
    // Ends a running exchange at once: every wait of the client ends, QUIT still goes out where
    // the connection takes it without waiting, and the connection is closed. Returns when the
    // exchange's thread has ended; failures after the abort are not reported.
    void abortAndWait();

signals:
    // The exchange failed; the connection is closed next, if it is still open.
    void failed(const QString &message);
    // Closing the connection after the exchange failed.
    void closeFailed(const QString &message);
    void finished();

private:
    void run(MailMessage *message, int connectTimeoutMs);
    void threadEnded(QThread *thread);

    SmtpClient *m_client;
    QThread *m_thread = nullptr;
};
