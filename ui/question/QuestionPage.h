#pragma once

#include "mail/SmtpClient.h"

#include <QStringList>
#include <QWidget>

class DataSource;
class FieldBinding;
class FileOpenDialog;
class LabeledEdit;
class MailMessage;
class QFrame;
class QPlainTextEdit;
class QPushButton;

// The question page: the reader writes a question, about the current verse or not, and sends
// it to the makers by e-mail. The page keeps the reader's name and e-mail address between
// runs in the profile file and logs each SMTP exchange in its status log, newest entry on
// top. The mail server, the recipient and the subject prefix lie in hidden fields.
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
    static const QString DefaultHost;
    static const QString DefaultRecipient;
    static const QString DefaultSubject;
    static const QString ProfileFileName;
    static constexpr quint16 SmtpPort = 25;
    static constexpr int ConnectTimeoutMs = 1000;

    QuestionPage(DataSource *verses, QWidget *parent = nullptr);

    // Prepares the page for a message that is not about a verse: the verse views are hidden
    // for good and the question memo holds only the message prompt.
    void prepareForMessage();

    // The reader's name and e-mail address, kept between runs. Loading never fails: a
    // missing or unreadable file gives empty fields. Saving raises "Unable to write to ...".
    void LoadSenderSettings();
    void SaveSenderSettings();
    static QString profilePath();

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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTop();
    void buildBottom();
    void composeMessage();

    FieldBinding *m_bodyBinding = nullptr;
};
