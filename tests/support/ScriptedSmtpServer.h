#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <atomic>
#include <thread>

// An SMTP server for tests on 127.0.0.1 with replies set per command verb. It serves one
// connection at a time on a thread of its own and records every line it receives. Every wait
// is bounded, so a test that goes wrong cannot hang.
class ScriptedSmtpServer {
public:
    struct Reply {
        enum Action {
            Answer, // send the bytes and go on
            Close,  // send the bytes and close the connection
            Silent, // send the bytes, then read on but never answer again
            Stall,  // send the bytes, then neither read nor answer
            Reset,  // send the bytes, then reset the connection (TCP RST, no orderly close)
            Flood   // send the bytes over and over until the peer goes away, then close
        };
        QByteArray bytes;
        Action action = Answer;
    };

    ScriptedSmtpServer();
    ~ScriptedSmtpServer();

    quint16 port() const { return m_port; }
    // A loopback port that nothing listens on.
    static quint16 closedPort();

    // Replies for one verb ("EHLO", "RCPT", "." for the end of the data...), used in turn; the
    // last one repeats.
    void on(const QByteArray &verb, const QList<Reply> &replies);
    void on(const QByteArray &verb, const QByteArray &bytes, Reply::Action action = Reply::Answer)
    {
        on(verb, {{bytes, action}});
    }
    void setGreeting(const QByteArray &bytes, Reply::Action action = Reply::Answer)
    {
        on("", bytes, action);
    }

    // Every reply, the greeting included, is sent this long after what it answers.
    void setReplyDelay(int ms) { m_replyDelay = ms; }

    // Resets the connection once this many lines of message data have arrived (-1: never).
    void resetInData(int afterLines) { m_resetInData = afterLines; }

    // Every line received, without its CR LF.
    QList<QByteArray> received() const;
    // The command lines only (the message data left out).
    QList<QByteArray> commands() const;
    // The message data of the last completed DATA, lines joined with CR LF.
    QByteArray message() const;
    // Waits until the client has closed the connection; false when it did not in time.
    bool waitForClose(int timeoutMs = 3000) const;

private:
    void run();
    // Answers the connection until it ends; the action it ended with.
    Reply::Action serve(int fd);
    Reply nextReply(const QByteArray &verb);

    int m_listener = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_connectionOpen{false};
    std::atomic<int> m_connections{0};
    std::atomic<int> m_resetInData{-1};
    std::atomic<int> m_replyDelay{0};
    mutable QMutex m_mutex;
    QHash<QByteArray, QList<Reply>> m_replies;
    QList<QByteArray> m_received;
    QList<QByteArray> m_commands;
    QByteArray m_message;
    std::thread m_thread;
};
