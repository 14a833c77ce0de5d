#include "ui/question/QuestionPage.h"

#include "mail/MailMessage.h"
#include "mail/SmtpExchange.h"
#include "platform/ConfigLocation.h"
#include "platform/Error.h"
#include "platform/FileOpenDialog.h"
#include "platform/KeyboardLayout.h"
#include "platform/Messages.h"
#include "platform/ProfileFile.h"
#include "ui/main/DefaultButton.h"
#include "ui/main/FieldBinding.h"
#include "ui/main/RightToLeftText.h"
#include "ui/main/SiteSettings.h"
#include "ui/question/InputBlock.h"
#include "ui/question/LabeledEdit.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

const QString QuestionPage::QuestionPrompt = QStringLiteral("سؤال خود را در اينجا بنويسيد");
const QString QuestionPage::MessagePrompt = QStringLiteral("پيام خود را در اينجا بنويسيد");
const QString QuestionPage::NameMissing = QStringLiteral("لطفا نام خود را بنويسيد");
const QString QuestionPage::MailMissing = QStringLiteral("لطفا ايميل خود را وارد کنيد");
const QString QuestionPage::SendCaption = QStringLiteral("ارسال ");
const QString QuestionPage::StatusStart = QStringLiteral("Status...");
const QStringList QuestionPage::Instructions = {
    QStringLiteral("در اين قسمت  از نرم  افزار  مي توانيد "),
    QStringLiteral(" درهر جاي قرآن يا نهج البلاغه سؤالي "),
    QStringLiteral("داشتيد  تنها  با يک کليد براي ما ارسال "),
    QStringLiteral("نماييد .ما با ياري خداوند در اسرع وقت "),
    QStringLiteral("پاسخگوي شما خواهيم بود"),
    QStringLiteral("توجه داشته باشيد که اگر نياز به توضيح "),
    QStringLiteral("بيشتر يا  تفسير آيه  از آيات  شريفه "),
    QStringLiteral("قرآن را داريد در صفحه قرآن اگر کليد "),
    QStringLiteral("سؤال از ما را  انتخاب نماييد  همان  آيه"),
    QStringLiteral("به اين صفحه منتقل خواهد شدومي "),
    QStringLiteral("توانيد"),
    QStringLiteral("براي براي ما ارسال نماييد"),
};
const QString QuestionPage::DefaultSubject = QStringLiteral("KEVRAN2");
const QString QuestionPage::ProfileFileName = QStringLiteral("kevran.ini");

namespace {

const QString NameSection = QStringLiteral("1");
const QString NameKey = QStringLiteral("Name");
const QString MailSection = QStringLiteral("2");
const QString MailKey = QStringLiteral("Mail");

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QFrame *panel(QWidget *parent, const char *name, QFrame::Shadow shadow)
{
    auto *frame = named(new QFrame(parent), name);
    frame->setFrameStyle(QFrame::Panel | shadow);
    frame->setLineWidth(1);
    return frame;
}

void setLeftToRight(LabeledEdit *edit)
{
    edit->setLayoutDirection(Qt::LeftToRight);
    edit->EditLabel->setLayoutDirection(Qt::LeftToRight);
}

LabeledEdit *field(const QString &name, const QString &caption, QWidget *parent, const QRect &rect)
{
    auto *edit = new LabeledEdit(name, caption, parent);
    edit->setGeometry(rect);
    return edit;
}

// The send button's picture: a letter.
QIcon envelope()
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF letter(2.5, 5.5, 19, 13);
    painter.setPen(QPen(QColor(0x40, 0x50, 0x80), 1.2));
    painter.setBrush(QColor(0xFF, 0xF4, 0xD0));
    painter.drawRect(letter);
    QPainterPath flap;
    flap.moveTo(letter.topLeft());
    flap.lineTo(letter.center().x(), letter.top() + 7.5);
    flap.lineTo(letter.topRight());
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(flap);
    return QIcon(pixmap);
}

bool isEnter(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A text cut into lines at every CR LF, lone CR and lone LF, and at the editor's own line
// and paragraph separators.
QStringList lines(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\n\u2028\u2029]"));
    return text.split(lineBreak);
}

} // namespace

QuestionPage::QuestionPage(DataSource *verses, QWidget *parent)
    : QWidget(parent)
    , MailMessage(new ::MailMessage(this))
    , SMTP(new SmtpClient(this))
    , AttachmentDialog(new FileOpenDialog(this))
    , m_exchange(new SmtpExchange(SMTP, this))
{
    setObjectName(QStringLiteral("TabSheet4"));
    AttachmentDialog->setObjectName(QStringLiteral("AttachmentDialog"));
    buildTop();
    buildBottom();
    m_bodyBinding = FieldBinding::bind(Body, verses, QStringLiteral("Arabic"));
    FieldBinding::bind(DBMemo5, verses, QStringLiteral("English"));

    // pnlTop along the left edge: last in a right-to-left row.
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pnlBottom, 1);
    layout->addWidget(pnlTop);

    DefaultButton::install(this, btnSendMail);
    for (QWidget *watched : QList<QWidget *>{dbEdit1, ledFrom, Body, DBMemo5, Memo3})
        watched->installEventFilter(this);
    connect(btnSendMail, &QPushButton::clicked, this,
            [this] { Messages::guard([this] { btnSendMailClick(); }); });
    connect(btnAttachment, &QPushButton::clicked, this,
            [this] { Messages::guard([this] { btnAttachmentClick(); }); });
    connect(SMTP, &SmtpClient::OnStatus, this, &QuestionPage::SMTPStatus);
    connect(m_exchange, &SmtpExchange::failed, this, [this](const QString &message) {
        addStatusEntry(QStringLiteral("ERROR: ") + message);
    });
    // A failure while closing is not the exchange's: it goes to the error report.
    connect(m_exchange, &SmtpExchange::closeFailed, this,
            [](const QString &message) { Messages::showError(message); });
    connect(m_exchange, &SmtpExchange::finished, this, [this] {
        setSending(false);
        emit sendFinished();
    });
}

QuestionPage::~QuestionPage()
{
    // The exchange uses the client and the message, which go before it.
    endExchange();
}

void QuestionPage::buildTop()
{
    pnlTop = panel(this, "pnlTop", QFrame::Sunken);
    pnlTop->setFixedWidth(193);

    Panel11 = panel(pnlTop, "Panel11", QFrame::Raised);
    Panel11->setFixedHeight(128);
    dbEdit1 =
        field(QStringLiteral("dbEdit1"), QStringLiteral("نام") + QString(53, QLatin1Char(' ')),
              Panel11, QRect(8, 20, 177, 21));
    ledFrom =
        field(QStringLiteral("ledFrom"), QString(51, QLatin1Char(' ')) + QStringLiteral("ايميل"),
              Panel11, QRect(8, 83, 177, 21));
    setLeftToRight(ledFrom);
    // The blanks put each caption's word at the right end of its field; aligned to the right,
    // it stays there also where a blank is wider than at the design size.
    for (LabeledEdit *edit : {dbEdit1, ledFrom})
        edit->EditLabel->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);

    Panel12 = panel(pnlTop, "Panel12", QFrame::Raised);
    Panel12->setFixedHeight(224);
    Memo3 = named(new QPlainTextEdit(Panel12), "Memo3");
    RightToLeftText::apply(Memo3);
    Memo3->setReadOnly(true);
    Memo3->setPlainText(Instructions.join(QLatin1Char('\n')));
    auto *instructions = new QHBoxLayout(Panel12);
    instructions->setContentsMargins(0, 0, 0, 0);
    instructions->addWidget(Memo3);

    btnSendMail = named(new QPushButton(envelope(), SendCaption, pnlTop), "btnSendMail");
    btnSendMail->setIconSize(QSize(24, 24));
    btnSendMail->setGeometry(48, 363, 113, 37);

    StatusMemo = named(new QPlainTextEdit(pnlTop), "StatusMemo");
    StatusMemo->setLayoutDirection(Qt::LeftToRight);
    QTextOption option = StatusMemo->document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    StatusMemo->document()->setDefaultTextOption(option);
    StatusMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StatusMemo->setFixedHeight(89);
    StatusMemo->setPlainText(StatusStart + QLatin1Char('\n'));

    // The hidden settings of the message; the reader never sees them.
    const SiteSettings site = SiteSettings::load();
    ledHost = field(QStringLiteral("ledHost"), QStringLiteral("Host (SMTP server)"), pnlTop,
                    QRect(8, 256, 177, 21));
    setLeftToRight(ledHost);
    ledHost->setText(site.questionHost);
    ledTo = field(QStringLiteral("ledTo"), QStringLiteral("To"), pnlTop, QRect(8, 216, 177, 21));
    setLeftToRight(ledTo);
    ledTo->setText(site.questionRecipient);
    ledCC = field(QStringLiteral("ledCC"), QStringLiteral("CC"), pnlTop, QRect(8, 284, 177, 21));
    ledSubject = field(QStringLiteral("ledSubject"), QStringLiteral("Subject"), pnlTop,
                       QRect(16, 320, 145, 21));
    setLeftToRight(ledSubject);
    ledSubject->setText(DefaultSubject);
    btnAttachment = named(new QPushButton(QStringLiteral("..."), pnlTop), "btnAttachment");
    btnAttachment->setGeometry(132, 352, 37, 21);
    ledAttachment =
        field(QStringLiteral("ledAttachment"), QStringLiteral("Send this file attached"), pnlTop,
              QRect(6, 376, 149, 21));
    for (QWidget *hidden :
         QList<QWidget *>{ledHost, ledTo, ledCC, ledSubject, btnAttachment, ledAttachment})
        hidden->hide();

    // The send button keeps its place; only the panels and the log are docked.
    auto *layout = new QVBoxLayout(pnlTop);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel11);
    layout->addWidget(Panel12);
    layout->addStretch(1);
    layout->addWidget(StatusMemo);
    btnSendMail->raise();
}

void QuestionPage::buildBottom()
{
    pnlBottom = panel(this, "pnlBottom", QFrame::Sunken);
    Body = named(new QPlainTextEdit(pnlBottom), "Body");
    DBMemo5 = named(new QPlainTextEdit(pnlBottom), "DBMemo5");
    Memo1 = named(new QPlainTextEdit(pnlBottom), "Memo1");
    for (QPlainTextEdit *edit : {Body, DBMemo5, Memo1})
        RightToLeftText::apply(edit);
    Body->setReadOnly(true);
    DBMemo5->setReadOnly(true);
    Body->setFixedHeight(163);
    DBMemo5->setFixedHeight(128);
    Memo1->setPlainText(QuestionPrompt);

    auto *layout = new QVBoxLayout(pnlBottom);
    layout->setContentsMargins(5, 5, 5, 5); // a border of 5 inside the bevel
    layout->setSpacing(0);
    layout->addWidget(Body);
    layout->addWidget(DBMemo5);
    layout->addWidget(Memo1, 1);
}

void QuestionPage::prepareForMessage()
{
    Body->hide();
    DBMemo5->hide();
    Memo1->setPlainText(MessagePrompt);
}

QString QuestionPage::profilePath()
{
    return ConfigLocation::filePath(ProfileFileName);
}

void QuestionPage::LoadSenderSettings()
{
    showSender(readSender());
}

QuestionPage::Sender QuestionPage::readSender()
{
    ProfileFile &files = ProfileFile::current();
    const QString path = profilePath();
    return {files.readString(path, NameSection, NameKey, QString()),
            files.readString(path, MailSection, MailKey, QString())};
}

void QuestionPage::showSender(const Sender &sender)
{
    dbEdit1->setText(sender.name);
    ledFrom->setText(sender.mail);
    m_stored = sender;
}

void QuestionPage::SaveSenderSettings()
{
    const Sender typed{dbEdit1->text(), ledFrom->text()};
    ProfileFile::current().writeStrings(
        profilePath(), {{NameSection, NameKey, typed.name, typed.name == m_stored.name},
                        {MailSection, MailKey, typed.mail, typed.mail == m_stored.mail}});
    m_stored = typed;
}

void QuestionPage::btnSendMailClick()
{
    if (isSending())
        return;
    if (dbEdit1->text().isEmpty()) {
        Messages::showMessage(NameMissing, this);
        dbEdit1->setFocus();
        return;
    }
    if (ledFrom->text().isEmpty()) {
        Messages::showMessage(MailMissing, this);
        ledFrom->setFocus();
        return;
    }
    StatusMemo->clear();
    SMTP->setHost(ledHost->text());
    SMTP->setPort(SmtpPort);
    composeMessage();
    // A line break in an address is refused before any connection is made.
    try {
        SmtpClient::checkAddresses(*MailMessage);
    } catch (const Error &e) {
        addStatusEntry(QStringLiteral("ERROR: ") + e.message());
        return;
    }
    setSending(true);
    m_exchange->start(MailMessage, ConnectTimeoutMs);
}

bool QuestionPage::isSending() const
{
    return m_sending;
}

void QuestionPage::endExchange()
{
    m_exchange->abortAndWait();
}

void QuestionPage::setSending(bool sending)
{
    if (sending == m_sending)
        return;
    m_sending = sending;
    if (sending) {
        // Input to the page goes nowhere until the exchange has ended; a disabled send button
        // and the busy cursor say so.
        QWidget *focus = QApplication::focusWidget();
        m_focusBeforeSend = focus && isAncestorOf(focus) ? focus : nullptr;
        m_inputBlock = std::make_unique<InputBlock>(this);
        btnSendMail->setEnabled(false);
        setCursor(Qt::BusyCursor);
    } else {
        m_inputBlock.reset();
        btnSendMail->setEnabled(true);
        unsetCursor();
        if (m_focusBeforeSend && !m_focusBeforeSend->hasFocus() &&
            (!QApplication::focusWidget() || isAncestorOf(QApplication::focusWidget())))
            m_focusBeforeSend->setFocus();
        m_focusBeforeSend = nullptr;
    }
}

void QuestionPage::composeMessage()
{
    ::MailMessage &m = *MailMessage;
    m.clear();
    m.From = MailAddress(ledFrom->text());
    m.Recipients.setText(ledTo->text() + QLatin1Char(',') + ledCC->text());
    m.Subject = ledSubject->text() + QLatin1Char('[') + dbEdit1->text() + QLatin1Char(']');
    // The verse set's current text, whether Body is shown or not.
    const QString verse = m_bodyBinding->currentText();
    m.Body = lines(verse + QLatin1Char('[') + Memo1->document()->toRawText() + QLatin1Char(']'));
    const QString attachment = ledAttachment->text();
    if (!attachment.isEmpty() && QFileInfo(attachment).isFile())
        m.addAttachment(attachment);
}

void QuestionPage::btnAttachmentClick()
{
    if (AttachmentDialog->Execute(this))
        ledAttachment->setText(AttachmentDialog->FileName);
}

void QuestionPage::SMTPStatus(QObject *, SmtpClient::SmtpStatus, const QString &AStatusText)
{
    addStatusEntry(QStringLiteral("Status: ") + AStatusText);
}

void QuestionPage::addStatusEntry(const QString &entry)
{
    const QString text = lines(entry).join(QLatin1Char('\n'));
    QTextDocument *log = StatusMemo->document();
    QTextCursor cursor(log);
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText(log->isEmpty() ? text : text + QLatin1Char('\n'));
    StatusMemo->verticalScrollBar()->setValue(0);
}

QStringList QuestionPage::statusLines() const
{
    QStringList out;
    for (QTextBlock block = StatusMemo->document()->begin(); block.isValid(); block = block.next())
        out.append(block.text());
    return out;
}

void QuestionPage::dbEdit1Enter()
{
    KeyboardLayout::current().activate(KeyboardLayout::Persian);
}

void QuestionPage::ledFromEnter()
{
    KeyboardLayout::current().activate(KeyboardLayout::US);
}

bool QuestionPage::eventFilter(QObject *watched, QEvent *event)
{

    if (event->type() == QEvent::FocusIn) {
        if (watched == dbEdit1)
            Messages::guard([this] { dbEdit1Enter(); });
        else if (watched == ledFrom)
            Messages::guard([this] { ledFromEnter(); });
        return false;
    }
    // Enter in a text view is the view's own, as in the question memo: it never sends.
    if (isEnter(event) && (watched == Body || watched == DBMemo5 || watched == Memo3))
        return true;
    return false;
}
