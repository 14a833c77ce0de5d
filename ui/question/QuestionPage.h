#pragma once

#include "mail/SmtpClient.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

class DataSource;
class FieldBinding;
class FileOpenDialog;
class InputBlock;
class LabeledEdit;
class MailMessage;
class QFrame;
class QPlainTextEdit;
class QPushButton;
class SmtpExchange;

// The question page: the reader writes a question, about the current verse or not, and sends
// it to the makers by e-mail. The page keeps the reader's name and e-mail address between
// runs in the profile file and logs each SMTP exchange in its status log, newest entry on
// top. The mail server, the recipient (SiteSettings) and the subject prefix lie in hidden
// fields.
class QuestionPage : public QWidget {
    Q_OBJECT
public:
    static const QString QuestionPrompt;
    static const QString MessagePrompt;
    static const QString NameMissing;
    static const QString MailMissing;
    static const QString SendCaption;
    static const QString StatusStart;
    static const QStringList Instructions;
    static const QString DefaultSubject;
    static const QString ProfileFileName;
    static constexpr quint16 SmtpPort = 25;
    static constexpr int ConnectTimeoutMs = 1000;

    QuestionPage(DataSource *verses, QWidget *parent = nullptr);
    // Ends a send that is still going on, as endExchange() does.
    ~QuestionPage() override;

    // Prepares the page for a message that is not about a verse: the verse views are hidden
    // for good and the question memo holds only the message prompt.
    void prepareForMessage();

    // The reader's name and e-mail address, kept between runs. Loading never fails: a
    // missing or unreadable file gives empty fields. Saving writes only what the reader
    // changed since they were shown (and a key the file lacks), into the file as it is then,
    // so that what another window of the program saved meanwhile stays. It raises
    // "Unable to write to ...".
    void LoadSenderSettings();
    void SaveSenderSettings();
    static QString profilePath();
    // The sender settings as the profile file holds them, and the fields showing them.
    struct Sender {
        QString name;
        QString mail;
    };
    static Sender readSender();
    void showSender(const Sender &sender);

    // Whether a send is going on: from the send button until its last status entry. The page
    // takes no input meanwhile; the rest of the window goes on working.
    bool isSending() const;
    // Ends a send that is going on at once (QUIT where the connection takes it) and returns
    // when it has ended. The window's close step calls it before saving the sender settings.
    void endExchange();

    // Handlers.
    void btnSendMailClick();
    void btnAttachmentClick();
    void SMTPStatus(QObject *ASender, SmtpClient::SmtpStatus AStatus, const QString &AStatusText);
    void dbEdit1Enter();
    void ledFromEnter();

    // Inserts one entry above the older ones; each line break in it starts a new line.
    void addStatusEntry(const QString &entry);
    // The status log's lines, first line first.
    QStringList statusLines() const;

    QFrame *pnlTop;
    QFrame *Panel11;
    LabeledEdit *dbEdit1; // the reader's name
    LabeledEdit *ledFrom; // the reader's e-mail address
    QFrame *Panel12;
    QPlainTextEdit *Memo3; // instructions
    QPushButton *btnSendMail;
    QPlainTextEdit *StatusMemo;
    LabeledEdit *ledHost;
    LabeledEdit *ledTo;
    LabeledEdit *ledCC;
    LabeledEdit *ledSubject;
    QPushButton *btnAttachment;
    LabeledEdit *ledAttachment;

    QFrame *pnlBottom;
    QPlainTextEdit *Body;    // the verse's Arabic text
    QPlainTextEdit *DBMemo5; // the verse's translation
    QPlainTextEdit *Memo1;   // the question memo

    ::MailMessage *MailMessage;
    SmtpClient *SMTP;
    FileOpenDialog *AttachmentDialog;

signals:
    // A send has ended, successfully or not; its entries are all in the status log.
    void sendFinished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTop();
    void buildBottom();
    void composeMessage();
    void setSending(bool sending);

    FieldBinding *m_bodyBinding = nullptr;
    SmtpExchange *m_exchange;
    bool m_sending = false;
    std::unique_ptr<InputBlock> m_inputBlock;
    QPointer<QWidget> m_focusBeforeSend;
    // The sender settings as last shown or saved: what a save compares the fields with.
    Sender m_stored;
};
