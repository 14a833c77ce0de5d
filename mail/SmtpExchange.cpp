#include "mail/SmtpExchange.h"

#include "mail/SmtpClient.h"
#include "platform/Error.h"

#include <QThread>
#include <exception>

SmtpExchange::SmtpExchange(SmtpClient *client, QObject *parent)
    : QObject(parent)
    , m_client(client)
{
}

SmtpExchange::~SmtpExchange()
{
    abortAndWait();
}

void SmtpExchange::start(MailMessage *message, int connectTimeoutMs)
{
    if (m_thread)
        return;
    m_client->resetAbort();
    QThread *thread =
        QThread::create([this, message, connectTimeoutMs] { run(message, connectTimeoutMs); });
    thread->setObjectName(QStringLiteral("SmtpExchange"));
    thread->setParent(this);
    // Emitted on the exchange's thread after everything else it emitted, so it arrives here
    // last.
    connect(thread, &QThread::finished, this, [this, thread] { threadEnded(thread); });
    m_thread = thread;
    thread->start();
}

void SmtpExchange::run(MailMessage *message, int connectTimeoutMs)
{
    try {
        m_client->Connect(connectTimeoutMs);
        m_client->Send(*message);
    } catch (const Error &e) {
        if (!m_client->aborted())
            emit failed(e.message());
    } catch (const std::exception &e) {
        // Nothing may escape the thread: the system out of threads or memory ends the
        // exchange like any other failure.
        if (!m_client->aborted())
            emit failed(QString::fromLocal8Bit(e.what()));
    }
    if (m_client->Connected()) {
        try {
            m_client->Disconnect();
        } catch (const Error &e) {
            if (!m_client->aborted())
                emit closeFailed(e.message());
        } catch (const std::exception &e) {
            if (!m_client->aborted())
                emit closeFailed(QString::fromLocal8Bit(e.what()));
        }
    }
}

void SmtpExchange::abortAndWait()
{
    if (!m_thread)
        return;
    m_client->abort();
    m_thread->wait();
    threadEnded(m_thread);
}

void SmtpExchange::threadEnded(QThread *thread)
{
    // After abortAndWait() the thread's own notice comes late, for a thread already gone.
    if (thread != m_thread)
        return;
    m_thread->wait();
    m_thread->deleteLater();
    m_thread = nullptr;
    emit finished();
}
