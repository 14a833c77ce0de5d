#include "app/Program.h"
#include "app/Tfrm_main.h"
#include "data/DataSet.h"
#include "doubles/MemoryDialogs.h"
#include "doubles/MemoryFileChooser.h"
#include "doubles/MemoryKeyboardLayout.h"
#include "doubles/MemoryProfileFile.h"
#include "doubles/MemorySockets.h"
#include "mail/MailMessage.h"
#include "mail/SmtpClient.h"
#include "platform/FileOpenDialog.h"
#include "support/PortRedirect.h"
#include "support/ProgramFixture.h"
#include "support/ReceivedMail.h"
#include "support/ScriptedSmtpServer.h"
#include "ui/main/FlatButton.h"
#include "ui/main/Tmain.h"
#include "ui/question/LabeledEdit.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Lines = QStringList;

namespace {

const QString Host = QStringLiteral("mail.kevran.test");
const QString Resolving = QStringLiteral("Status: Resolving hostname mail.kevran.test.");
const QString Connecting = QStringLiteral("Status: Connecting to 127.0.0.1.");
const QString ConnectedLine = QStringLiteral("Status: Connected.");
const QString Disconnecting = QStringLiteral("Status: Disconnecting.");
const QString Disconnected = QStringLiteral("Status: Disconnected.");

} // namespace

// The question page against the real text database and a scripted SMTP server on loopback.
class tst_QuestionPage : public QObject {
    Q_OBJECT

    std::unique_ptr<MemoryDialogs> m_dialogs;
    std::unique_ptr<MemoryProfileFile> m_profile;
    std::unique_ptr<MemoryKeyboardLayout> m_layouts;
    std::unique_ptr<ScriptedSmtpServer> m_server;
    std::unique_ptr<PortRedirect> m_sockets;
    std::unique_ptr<ProgramFixture> m_program;
    QuestionPage *page = nullptr;

    void start()
    {
        m_program = std::make_unique<ProgramFixture>();
        QVERIFY(m_program->started());
        page = m_program->window()->TabSheet4.get();
        page->ledHost->setText(Host);
        page->SMTP->setReadTimeout(3000);
        m_program->window()->resize(900, 700);
    }
    void showPage()
    {
        m_program->window()->show();
        m_program->window()->setActivePage(page);
        QVERIFY(QTest::qWaitForWindowActive(m_program->window()));
    }
    void fill(const QString &name = QStringLiteral("Ali"),
              const QString &mail = QStringLiteral("reader@x.example"))
    {
        page->dbEdit1->setText(name);
        page->ledFrom->setText(mail);
    }
    QString verse() const { return m_program->verses()->fieldText(QStringLiteral("Arabic")); }
    // Presses the send button and runs the event loop until the exchange has ended.
    void sendAndWait()
    {
        page->btnSendMail->click();
        QTRY_VERIFY_WITH_TIMEOUT(!page->isSending(), 40000);
    }
    void send()
    {
        sendAndWait();
        QVERIFY(m_server->waitForClose());
    }

private slots:
    void init()
    {
        m_dialogs = std::make_unique<MemoryDialogs>();
        m_profile = std::make_unique<MemoryProfileFile>();
        m_layouts = std::make_unique<MemoryKeyboardLayout>();
        m_server = std::make_unique<ScriptedSmtpServer>();
        m_sockets = std::make_unique<PortRedirect>(m_server->port());
        m_sockets->addHost(Host, QStringLiteral("127.0.0.1"));
    }
    void cleanup()
    {
        m_program.reset();
        m_sockets.reset();
        m_server.reset();
        m_layouts.reset();
        m_profile.reset();
        m_dialogs.reset();
    }

    void startState()
    {
        start();
        showPage();
        QCOMPARE(page->dbEdit1->EditLabel->text(),
                 QString::fromUtf8("نام") + QString(53, QLatin1Char(' ')));
        QCOMPARE(page->ledFrom->EditLabel->text(),
                 QString(51, QLatin1Char(' ')) + QString::fromUtf8("ايميل"));
        QVERIFY(page->dbEdit1->EditLabel->isVisible());
        QCOMPARE(page->Memo3->document()->blockCount(), 12);
        QCOMPARE(page->statusLines(), (Lines{QStringLiteral("Status..."), QString()}));
        QCOMPARE(page->Memo1->toPlainText(), QString::fromUtf8("سؤال خود را در اينجا بنويسيد"));
        QCOMPARE(page->Body->toPlainText(), verse());
        QCOMPARE(page->DBMemo5->toPlainText(),
                 m_program->verses()->fieldText(QStringLiteral("English")));

        // The hidden settings: never shown, labels included, with their defaults.
        for (QWidget *hidden :
             QList<QWidget *>{page->ledHost, page->ledTo, page->ledCC, page->ledSubject,
                              page->btnAttachment, page->ledAttachment, page->ledHost->EditLabel})
            QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
        QCOMPARE(page->ledSubject->text(), QStringLiteral("KEVRAN2"));
        QVERIFY(page->ledTo->text().contains(QLatin1Char('@')));
        QVERIFY(page->ledCC->text().isEmpty());

        // In the right-to-left window pnlTop still lies along the left edge, and the docked
        // views fill their panels inside the bevels.
        QCOMPARE(page->pnlTop->geometry(), QRect(0, 0, 193, page->height()));
        QCOMPARE(page->pnlBottom->x(), 193);
        QCOMPARE(page->StatusMemo->geometry().bottom(), page->pnlTop->height() - 2);
        QCOMPARE(page->Memo1->geometry().bottom(), page->pnlBottom->height() - 7);
    }

    void checksNameAndAddressFirst()
    {
        start();
        showPage();
        page->dbEdit1->clear();
        page->ledFrom->clear();
        page->btnSendMail->click();
        QCOMPARE(m_dialogs->texts(), QStringList{QString::fromUtf8("لطفا نام خود را بنويسيد")});
        QCOMPARE(m_dialogs->shown().front().kind, MemoryDialogs::Kind::Message);
        QCOMPARE(QApplication::focusWidget(), page->dbEdit1);

        m_dialogs->clear();
        page->dbEdit1->setText(QStringLiteral("Ali"));
        page->btnSendMail->click();
        QCOMPARE(m_dialogs->texts(), QStringList{QString::fromUtf8("لطفا ايميل خود را وارد کنيد")});
        QCOMPARE(QApplication::focusWidget(), page->ledFrom);

        // Nothing was sent, and the log is as it was.
        QVERIFY(m_sockets->lookups().isEmpty());
        QVERIFY(m_server->received().isEmpty());
        QCOMPARE(page->statusLines(), (Lines{QStringLiteral("Status..."), QString()}));
    }

    void sendsTheQuestion()
    {
        start();
        showPage();
        fill();
        page->Memo1->setPlainText(QStringLiteral("Q1\nQ2"));
        send();
        QVERIFY(m_dialogs->shown().isEmpty());
        QCOMPARE(page->statusLines(),
                 (Lines{Disconnected, Disconnecting, QStringLiteral("Status: Encoding text"),
                        ConnectedLine, Connecting, Resolving}));
        QCOMPARE(m_server->commands(),
                 (QList<QByteArray>{"EHLO reader-pc", "RSET", "MAIL FROM:<reader@x.example>",
                                    "RCPT TO:<" + page->ledTo->text().toUtf8() + '>', "DATA", ".",
                                    "QUIT"}));
        const ReceivedMail mail(m_server->message());
        QCOMPARE(mail.field("Subject"), QByteArray("KEVRAN2[Ali]"));
        QCOMPARE(mail.field("From"), QByteArray("reader@x.example"));
        QCOMPARE(mail.field("To"), page->ledTo->text().toUtf8());
        QCOMPARE(mail.bodyLines(), (QList<QByteArray>{verse().toUtf8() + "[Q1", "Q2]"}));
        // The page keeps its texts.
        QCOMPARE(page->dbEdit1->text(), QStringLiteral("Ali"));
        QCOMPARE(page->ledFrom->text(), QStringLiteral("reader@x.example"));
        QCOMPARE(page->Memo1->toPlainText(), QStringLiteral("Q1\nQ2"));

        // A second send clears the first one's log and sends the same message. A name and an
        // address of blanks count as filled in and go unchanged; a CC address becomes a second
        // recipient of the To list.
        page->StatusMemo->appendPlainText(QStringLiteral("the reader's note"));
        page->dbEdit1->setText(QStringLiteral("  "));
        page->ledFrom->setText(QStringLiteral(" "));
        page->ledCC->setText(QStringLiteral("cc@kevran.example"));
        send();
        QCOMPARE(page->statusLines().size(), 6);
        QCOMPARE(page->statusLines().last(), Resolving);
        const QList<QByteArray> commands = m_server->commands();
        QCOMPARE(
            commands.mid(commands.size() - 6, 4),
            (QList<QByteArray>{"MAIL FROM:< >", "RCPT TO:<" + page->ledTo->text().toUtf8() + '>',
                               "RCPT TO:<cc@kevran.example>", "DATA"}));
        const ReceivedMail second(m_server->message());
        QCOMPARE(second.field("Subject"), QByteArray("KEVRAN2[  ]"));
        QCOMPARE(second.field("To"), page->ledTo->text().toUtf8() + ", cc@kevran.example");
        QVERIFY(second.field("Cc").isEmpty());
        QCOMPARE(second.bodyLines(), mail.bodyLines());
    }

    void persianSubjectAndAttachment()
    {
        start();
        showPage();
        fill(QString::fromUtf8("علي"));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("note.bin"));
        QByteArray bytes;
        for (int i = 0; i < 300; ++i)
            bytes += char(i * 7);
        {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        }

        // The attachment dialog: a cancel changes nothing, a confirmed file goes in whole.
        MemoryFileChooser chooser;
        page->btnAttachmentClick();
        QVERIFY(page->ledAttachment->text().isEmpty());
        chooser.setAnswer(file);
        page->btnAttachmentClick();
        QCOMPARE(page->ledAttachment->text(), file);

        send();
        QCOMPARE(page->statusLines().mid(0, 4),
                 (Lines{Disconnected, Disconnecting, QStringLiteral("Status: Encoding attachment"),
                        ConnectedLine}));
        const ReceivedMail mail(m_server->message());
        // Encoded words of the name's UTF-8 bytes.
        QCOMPARE(mail.decodedField("Subject"), QString::fromUtf8("KEVRAN2[علي]"));
        QVERIFY(mail.field("Content-Type").startsWith("multipart/mixed"));
        const QByteArray data = m_server->message();
        const qsizetype start = data.indexOf("filename=\"note.bin\"");
        QVERIFY(start > 0);
        const qsizetype from = data.indexOf("\r\n\r\n", start) + 4;
        const QByteArray encoded = data.mid(from, data.indexOf("\r\n\r\n", from) - from);
        QCOMPARE(QByteArray::fromBase64(QByteArray(encoded).replace("\r\n", "")), bytes);

        // A name that names no file: the message goes without attachment, without a word.
        page->ledAttachment->setText(dir.filePath(QStringLiteral("gone.bin")));
        send();
        QVERIFY(m_dialogs->shown().isEmpty());
        QVERIFY(!ReceivedMail(m_server->message()).field("Content-Type").startsWith("multipart"));
        QCOMPARE(page->MailMessage->MessageParts.size(), 0);
    }

    void exchangeFailures_data()
    {
        QTest::addColumn<QByteArray>("verb");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("good");
        QTest::addColumn<Lines>("log");
        QTest::newRow("550 No such user")
            << QByteArray("RCPT") << QByteArray("550 No such user\r\n") << QByteArray("250 OK\r\n")
            << Lines{Disconnected, Disconnecting, QStringLiteral("ERROR: No such user"),
                     QString(),    ConnectedLine, Connecting,
                     Resolving};
        QTest::newRow("greeting other than 220")
            << QByteArray("") << QByteArray("554 No service\r\n") << QByteArray("220 ready\r\n")
            << Lines{QStringLiteral("ERROR: No service"),
                     QString(),
                     Disconnected,
                     Disconnecting,
                     ConnectedLine,
                     Connecting,
                     Resolving};
        QTest::newRow("multi-line refusal")
            << QByteArray("DATA") << QByteArray("554-No\r\n554 data\r\n")
            << QByteArray("354 go\r\n")
            << Lines{Disconnected,
                     Disconnecting,
                     QStringLiteral("ERROR: No"),
                     QStringLiteral("data"),
                     QString(),
                     ConnectedLine,
                     Connecting,
                     Resolving};
    }
    void exchangeFailures()
    {
        QFETCH(QByteArray, verb);
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, good);
        QFETCH(Lines, log);
        start();
        showPage();
        fill();
        page->Memo1->setPlainText(QStringLiteral("question"));
        m_server->on(verb, reply);
        send();
        QCOMPARE(page->statusLines(), log);
        QVERIFY(m_dialogs->shown().isEmpty());
        QVERIFY(!page->SMTP->Connected());
        QCOMPARE(page->dbEdit1->text(), QStringLiteral("Ali"));
        QCOMPARE(page->Memo1->toPlainText(), QStringLiteral("question"));

        // The page stays usable: the next send goes through.
        m_server->on(verb, good);
        send();
        QCOMPARE(page->statusLines().first(), Disconnected);
        QCOMPARE(page->statusLines().size(), 6);
    }

    void connectionFailures()
    {
        start();
        showPage();
        fill();

        // No connection within the limit: no closing lines.
        m_sockets->setConnectHangs(true);
        QElapsedTimer elapsed;
        elapsed.start();
        sendAndWait();
        QVERIFY(elapsed.elapsed() >= 1000);
        // One 125 ms step at most past the limit, with room for a busy machine.
        QVERIFY(elapsed.elapsed() < 1000 + 125 + 375);
        QCOMPARE(page->statusLines(),
                 (Lines{QStringLiteral("ERROR: Connect timed out."), Connecting, Resolving}));
        m_sockets->setConnectHangs(false);

        // Nothing listening; a dotted address is not resolved.
        m_sockets->setTarget(ScriptedSmtpServer::closedPort());
        page->ledHost->setText(QStringLiteral("127.0.0.1"));
        sendAndWait();
        QCOMPARE(page->statusLines(), (Lines{QStringLiteral("ERROR: Socket Error # 10061"),
                                             QStringLiteral("Connection refused."), Connecting}));

        page->ledHost->setText(QStringLiteral("nowhere.kevran.test"));
        sendAndWait();
        QCOMPARE(
            page->statusLines(),
            (Lines{QStringLiteral("ERROR: Socket Error # 11001"), QStringLiteral("Host not found."),
                   QStringLiteral("Status: Resolving hostname nowhere.kevran.test.")}));

        // A server that never answers runs into the reply limit.
        m_sockets->setTarget(m_server->port());
        page->ledHost->setText(Host);
        page->SMTP->setReadTimeout(300);
        m_server->setGreeting(QByteArray(), ScriptedSmtpServer::Reply::Silent);
        send();
        QCOMPARE(page->statusLines(), (Lines{QStringLiteral("ERROR: Read Timeout"), Disconnected,
                                             Disconnecting, ConnectedLine, Connecting, Resolving}));
        QVERIFY(m_dialogs->shown().isEmpty());
    }

    // A server that takes its time: the window's event loop runs all through the exchange,
    // each status entry shows the moment it happens, and the page takes no input meanwhile.
    void windowRunsDuringExchange()
    {
        start();
        showPage();
        fill();
        page->Memo1->setPlainText(QStringLiteral("question"));
        m_server->setReplyDelay(150);

        // The log's first line at each change while the send goes on, and when it came.
        QElapsedTimer elapsed;
        QStringList seen;
        QHash<QString, qint64> at;
        connect(page->StatusMemo, &QPlainTextEdit::textChanged, this, [&] {
            const QString first = page->statusLines().first();
            if (page->isSending() && !first.isEmpty()) {
                seen.append(first);
                at.insert(first, elapsed.elapsed());
            }
        });
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] { ++ticks; });
        timer.start(20);

        elapsed.start();
        page->btnSendMail->click();
        QVERIFY(page->isSending());
        QVERIFY(!page->btnSendMail->isEnabled());
        // The greeting is 150 ms away, yet the connection's entries are already in the log.
        QTRY_COMPARE_WITH_TIMEOUT(page->statusLines().first(), ConnectedLine, 1000);
        QVERIFY(elapsed.elapsed() < 150);
        QVERIFY(page->isSending());

        // Clicks, typing and Enter go nowhere while it runs; another send does not start.
        page->Memo1->setFocus();
        QTest::keyClicks(page->Memo1, QStringLiteral("xyz"));
        QTest::keyClick(page->Memo1, Qt::Key_Return);
        QTest::mouseClick(page->btnSendMail, Qt::LeftButton);
        QTest::mouseClick(page->dbEdit1, Qt::LeftButton);
        QTest::keyClicks(page->dbEdit1, QStringLiteral("abc"));
        page->btnSendMail->click();
        QCOMPARE(page->Memo1->toPlainText(), QStringLiteral("question"));
        QCOMPARE(page->dbEdit1->text(), QStringLiteral("Ali"));

        QTRY_VERIFY_WITH_TIMEOUT(!page->isSending(), 10000);
        QVERIFY(m_server->waitForClose());
        // Seven replies of 150 ms each: the event loop kept turning all along.
        QVERIFY2(ticks > 20, qPrintable(QString::number(ticks)));
        const QString encoding = QStringLiteral("Status: Encoding text");
        QCOMPARE(seen, (Lines{Resolving, Connecting, ConnectedLine, encoding, Disconnecting,
                              Disconnected}));
        // Greeting, EHLO, RSET, MAIL, RCPT and DATA came before the body's entry.
        QVERIFY2(at.value(encoding) >= 6 * 150 - 50,
                 qPrintable(QString::number(at.value(encoding))));
        QVERIFY(at.value(Disconnecting) >= at.value(encoding) + 100);
        QCOMPARE(page->statusLines().first(), Disconnected);
        QCOMPARE(m_server->commands().size(), 7);
        QCOMPARE(m_server->commands().count("RSET"), 1);

        // Input reaches the page again.
        QVERIFY(page->btnSendMail->isEnabled());
        page->Memo1->setFocus();
        page->Memo1->moveCursor(QTextCursor::End);
        QTest::keyClicks(page->Memo1, QStringLiteral("!"));
        QCOMPARE(page->Memo1->toPlainText(), QStringLiteral("question!"));
    }

    // Closing the main window in the middle of a send ends the exchange at once with QUIT,
    // saves the sender settings and ends the program.
    void closingMidSend()
    {
        start();
        showPage();
        fill(QStringLiteral("Reza"));
        m_server->on("EHLO", "250 hello\r\n", ScriptedSmtpServer::Reply::Silent);
        page->SMTP->setReadTimeout(30000);
        page->btnSendMail->click();
        QTRY_VERIFY_WITH_TIMEOUT(m_server->commands().contains("EHLO reader-pc"), 5000);
        QTest::qWait(50);
        QVERIFY(page->isSending());

        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(m_program->window()->close());
        QVERIFY2(elapsed.elapsed() < 1000, qPrintable(QString::number(elapsed.elapsed())));
        QVERIFY(!page->isSending());
        QVERIFY(!page->SMTP->Connected());
        QVERIFY(m_server->waitForClose());
        QCOMPARE(m_server->commands().last(), QByteArray("QUIT"));
        QVERIFY(m_profile->bytes(QuestionPage::profilePath()).contains("Name=Reza"));
        QVERIFY(Program::terminationRequested());
        // No error report for the exchange cut short, now or when the events come in.
        QTest::qWait(50);
        QVERIFY(m_dialogs->shown().isEmpty());
    }

    // An address with a line break is refused before any connection is made.
    void addressWithLineBreak()
    {
        start();
        showPage();
        fill(QStringLiteral("Ali"), QStringLiteral("reader@x.example\r\nRCPT TO:<x@y>"));
        page->btnSendMail->click();
        QVERIFY(!page->isSending());
        QCOMPARE(page->statusLines(),
                 Lines{QStringLiteral("ERROR: Invalid address: it holds a line break.")});
        QVERIFY(m_sockets->lookups().isEmpty());
        QVERIFY(m_server->received().isEmpty());

        // The recipient's field too.
        fill();
        page->ledCC->setText(QStringLiteral("cc@x.example\nDATA"));
        page->btnSendMail->click();
        QCOMPARE(page->statusLines(),
                 Lines{QStringLiteral("ERROR: Invalid address: it holds a line break.")});
        QVERIFY(m_sockets->lookups().isEmpty());
    }

    void enterSends()
    {
        start();
        showPage();
        page->dbEdit1->setText(QStringLiteral("Ali"));
        page->ledFrom->clear();
        const QString mailMissing = QString::fromUtf8("لطفا ايميل خود را وارد کنيد");

        page->dbEdit1->setFocus();
        QTest::keyClick(page->dbEdit1, Qt::Key_Return);
        QCOMPARE(m_dialogs->texts(), QStringList{mailMissing});
        QCOMPARE(QApplication::focusWidget(), page->ledFrom);
        QTest::keyClick(page->ledFrom, Qt::Key_Enter);
        QCOMPARE(m_dialogs->texts(), (QStringList{mailMissing, mailMissing}));

        // Enter in a text view never sends; in the question memo it starts a new line.
        m_dialogs->clear();
        page->Memo1->setFocus();
        page->Memo1->moveCursor(QTextCursor::End);
        QTest::keyClick(page->Memo1, Qt::Key_Return);
        QCOMPARE(page->Memo1->toPlainText(), QuestionPage::QuestionPrompt + QLatin1Char('\n'));
        for (QPlainTextEdit *view : {page->Body, page->DBMemo5, page->Memo3, page->StatusMemo}) {
            view->setFocus();
            QTest::keyClick(view, Qt::Key_Return);
        }
        QVERIFY(m_dialogs->shown().isEmpty());
    }

    void keyboardLayouts()
    {
        start();
        showPage();
        page->Memo1->setFocus();
        const qsizetype before = m_layouts->activated().size();
        page->dbEdit1->setFocus();
        page->ledFrom->setFocus();
        page->Memo1->setFocus();
        page->dbEdit1->setFocus();
        QCOMPARE(m_layouts->activated().mid(before),
                 (QStringList{QStringLiteral("00000429"), QStringLiteral("00000409"),
                              QStringLiteral("00000429")}));
    }

    // The launcher's button: a message, not about a verse.
    void fromTheLauncher()
    {
        start();
        fill();
        page->addStatusEntry(QStringLiteral("kept"));
        kevran::frm_main->show();
        kevran::frm_main->AdvToolButton8Click();
        QVERIFY(QTest::qWaitForWindowExposed(m_program->window()));
        QCOMPARE(m_program->window()->PageControl1->currentWidget(), page);
        QVERIFY(page->Body->isHidden());
        QVERIFY(page->DBMemo5->isHidden());
        QCOMPARE(page->Memo1->toPlainText(), QString::fromUtf8("پيام خود را در اينجا بنويسيد"));
        QCOMPARE(page->Memo1->geometry().top(), 6);
        QCOMPARE(page->dbEdit1->text(), QStringLiteral("Ali"));
        QCOMPARE(page->statusLines().first(), QStringLiteral("kept"));

        // The verse still leads the body, and a question from the Quran page later leaves the
        // views hidden.
        send();
        const ReceivedMail mail(m_server->message());
        QCOMPARE(mail.bodyLines(), (QList<QByteArray>{verse().toUtf8() + "[" +
                                                      QuestionPage::MessagePrompt.toUtf8() + "]"}));
        m_program->window()->setActivePage(m_program->window()->TabSheet1.get());
        m_program->window()->TabSheet1.get()->AdvToolButton1->click();
        QCOMPARE(m_program->window()->PageControl1->currentWidget(), page);
        QVERIFY(page->Body->isHidden());
    }

    // The Quran page's button: the question travels with the current verse.
    void fromTheQuranPage()
    {
        start();
        fill();
        Tmain *window = m_program->window();
        window->show();
        QuranPage *quran = window->TabSheet1.get();
        page->Memo1->setPlainText(QStringLiteral("earlier words"));
        quran->ListBox5->setCurrentRow(1);
        quran->BitBtn2->click();
        QCOMPARE(m_program->verses()->fieldText(QStringLiteral("vers")), QStringLiteral("2"));
        quran->AdvToolButton1->click();
        QCOMPARE(window->PageControl1->currentWidget(), page);
        QVERIFY(page->Body->isVisible());
        QCOMPARE(page->Body->toPlainText(), verse());
        QCOMPARE(page->DBMemo5->toPlainText(),
                 m_program->verses()->fieldText(QStringLiteral("English")));
        QCOMPARE(page->Memo1->toPlainText(), QStringLiteral("earlier words"));
        send();
        QCOMPARE(ReceivedMail(m_server->message()).bodyLines(),
                 (QList<QByteArray>{verse().toUtf8() + "[earlier words]"}));
    }

    void senderSettings()
    {
        const QString path = QuestionPage::profilePath();
        m_profile->setBytes(path, "[1]\nName=  \"Ali Reza\"  \n[2]\nMail= a@b.example\n"
                                  "[3]\nOther=kept\n");
        start();
        QCOMPARE(page->dbEdit1->text(), QStringLiteral("Ali Reza"));
        QCOMPARE(page->ledFrom->text(), QStringLiteral("a@b.example"));

        // Saved at close, as typed, with the rest of the file kept.
        m_program->window()->show();
        page->dbEdit1->setText(QStringLiteral("Reza "));
        page->ledFrom->setText(QString());
        QVERIFY(m_program->window()->close());
        QCOMPARE(m_profile->bytes(path),
                 QByteArray("[1]\nName=Reza \n[2]\nMail=\n[3]\nOther=kept\n"));
        QVERIFY(Program::terminationRequested());
        QVERIFY(m_dialogs->shown().isEmpty());
    }

    void senderSettingsWithoutFile()
    {
        const QString path = QuestionPage::profilePath();
        m_profile->setUnreadable(path);
        start();
        QVERIFY(page->dbEdit1->text().isEmpty());
        QVERIFY(m_dialogs->shown().isEmpty());
        m_program.reset();

        // A file too long to keep whole.
        m_profile.reset();
        m_profile = std::make_unique<MemoryProfileFile>();
        m_profile->setBytes(path, "[1]\nName=" + QByteArray(10000, 'n') + '\n');
        start();
        QCOMPARE(page->dbEdit1->text(), QString(2047, QLatin1Char('n')));
        QVERIFY(page->ledFrom->text().isEmpty());
        m_program.reset();

        // No file: empty fields; closing writes both keys.
        m_profile.reset();
        m_profile = std::make_unique<MemoryProfileFile>();
        start();
        QVERIFY(page->dbEdit1->text().isEmpty());
        m_program->window()->show();
        QVERIFY(m_program->window()->close());
        QCOMPARE(m_profile->bytes(path), QByteArray("[1]\nName=\n[2]\nMail=\n"));
    }

    // A file that cannot be written: the error is reported and the window closes all the same.
    void unwritableSettings()
    {
        const QString path = QuestionPage::profilePath();
        m_profile->setUnwritable(path);
        start();
        fill();
        m_program->window()->show();
        QVERIFY(m_program->window()->close());
        QCOMPARE(m_dialogs->texts(),
                 QStringList{QStringLiteral("Unable to write to ") + path + QLatin1Char('.')});
        QCOMPARE(m_dialogs->shown().front().kind, MemoryDialogs::Kind::Error);
        QVERIFY(!m_program->window()->isVisible());
        QVERIFY(Program::terminationRequested());
    }

    // The real profile file in the configuration directory, from start to close.
    void settingsOnDisk()
    {
        m_profile.reset();
        QTemporaryDir home;
        const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", previous); });
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        const QString path = QuestionPage::profilePath();
        QVERIFY(path.startsWith(home.path()));
        QVERIFY(path.endsWith(QStringLiteral("/kevran.ini")));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("; mine\r\n[2]\r\nMail=\"a@b.example\"\r\n");
        }
        start();
        QVERIFY(page->dbEdit1->text().isEmpty());
        QCOMPARE(page->ledFrom->text(), QStringLiteral("a@b.example"));
        page->dbEdit1->setText(QString::fromUtf8("علي"));
        m_program->window()->show();
        QVERIFY(m_program->window()->close());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // The address was not changed: its line stays as stored.
        QCOMPARE(file.readAll(), "; mine\r\n[2]\r\nMail=\"a@b.example\"\r\n[1]\r\nName=" +
                                     QString::fromUtf8("علي").toUtf8() + "\r\n");
    }

    void render()
    {
        start();
        showPage();
        fill(QString::fromUtf8("علي رضا"));
        page->Memo1->setPlainText(QString::fromUtf8("سؤال خود را در اينجا بنويسيد\nدوم"));
        m_program->window()->resize(1366, 768);
        const QString dir = QStringLiteral(KEVRAN_SCREENSHOT_DIR);
        QDir().mkpath(dir);
        // In the middle of a send: the entries so far, the send button disabled.
        m_server->setReplyDelay(300);
        page->btnSendMail->click();
        QTRY_COMPARE(page->statusLines().first(), ConnectedLine);
        QVERIFY(m_program->window()->grab().toImage().save(
            QDir(dir).filePath(QStringLiteral("main-question-sending.png"))));
        QTRY_VERIFY_WITH_TIMEOUT(!page->isSending(), 10000);
        QVERIFY(m_server->waitForClose());
        const QImage shot = m_program->window()->grab().toImage();
        QVERIFY(shot.save(QDir(dir).filePath(QStringLiteral("main-question.png"))));
        // Text was drawn in the instructions.
        const QRect instructions(page->Memo3->mapTo(m_program->window(), QPoint(0, 0)),
                                 page->Memo3->size());
        int dark = 0;
        for (int y = instructions.top(); y < instructions.bottom(); ++y) {
            for (int x = instructions.left(); x < instructions.right(); ++x)
                dark += qGray(shot.pixel(x, y)) < 100;
        }
        QVERIFY(dark > 500);
    }
};

QTEST_MAIN(tst_QuestionPage)
#include "tst_questionpage.moc"
