#include "data/DataSet.h"
#include "platform/MemoryDialogs.h"
#include "support/ProgramFixture.h"
#include "ui/main/Tmain.h"
#include "ui/question/LabeledEdit.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

// A question sent from the page to a real SMTP server on 127.0.0.1:25, the received message
// decoded by Python's own mail package.
class tst_QuestionSend : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_server;

    // Debian's own interpreter, where its mail server package lives.
    static QString python()
    {
        const QString debian = QStringLiteral("/usr/bin/python3");
        return QFile::exists(debian) ? debian
                                     : QStandardPaths::findExecutable(QStringLiteral("python3"));
    }

    static QString script(const char *name)
    {
        return QStringLiteral(KEVRAN_TEST_MAIL_DIR "/") + QLatin1String(name);
    }

    QJsonObject decode(const QString &path)
    {
        QProcess decoder;
        decoder.start(python(), {script("decode_mail.py"), path});
        if (!decoder.waitForFinished(20000) || decoder.exitCode() != 0)
            return {};
        return QJsonDocument::fromJson(decoder.readAllStandardOutput()).object();
    }

private slots:
    void initTestCase()
    {
        if (geteuid() != 0)
            QSKIP("the page always uses port 25, which only root may listen on");
        if (python().isEmpty() ||
            QProcess::execute(python(),
                              {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")}) != 0)
            QSKIP("python3-aiosmtpd is not installed");
        {
            QTcpServer probe;
            if (!probe.listen(QHostAddress::LocalHost, 25))
                QSKIP("port 25 on 127.0.0.1 is taken");
        }
        m_server.start(python(), {script("smtp_sink.py"), QStringLiteral("--port"),
                                  QStringLiteral("25"), QStringLiteral("--out"), m_dir.path()});
        QVERIFY(m_server.waitForStarted(10000));
        QVERIFY(m_server.waitForReadyRead(20000));
        QCOMPARE(m_server.readAllStandardOutput().trimmed(), QByteArray("ready"));
    }

    void cleanupTestCase()
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
        }
    }

    void aQuestionArrivesIntact()
    {
        ProgramFixture program;
        QVERIFY(program.started());
        MemoryDialogs dialogs;
        Tmain *window = program.window();
        window->TabSheet1->ListBox5->setCurrentRow(1); // sura 2, verse 1
        const QString verse = program.verses()->fieldText(QStringLiteral("Arabic"));

        QuestionPage *page = window->TabSheet4;
        QByteArray attachment(3000, Qt::Uninitialized);
        for (char &byte : attachment)
            byte = char(QRandomGenerator::global()->bounded(256));
        const QString attachmentPath = m_dir.filePath(QStringLiteral("نامه.bin"));
        QFile file(attachmentPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(attachment);
        file.close();

        page->ledHost->setText(QStringLiteral("127.0.0.1"));
        page->dbEdit1->setText(QString::fromUtf8("علی رضایی"));
        page->ledFrom->setText(QStringLiteral("reader@example.org"));
        page->Memo1->setPlainText(QString::fromUtf8("معنای این آیه چیست؟\nسپاس"));
        page->ledAttachment->setText(attachmentPath);
        QTest::mouseClick(page->btnSendMail, Qt::LeftButton);
        QVERIFY2(!page->StatusMemo->toPlainText().contains(QLatin1String("ERROR")),
                 qPrintable(page->StatusMemo->toPlainText()));
        QVERIFY(dialogs.shown().isEmpty());

        const QString received = m_dir.filePath(QStringLiteral("1.eml"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(received), 10000);
        const QJsonObject mail = decode(received);
        QVERIFY(!mail.isEmpty());
        QCOMPARE(mail.value(QLatin1String("subject")).toString(),
                 QString::fromUtf8("KEVRAN2[علی رضایی]"));
        QVERIFY(mail.value(QLatin1String("from"))
                    .toString()
                    .contains(QLatin1String("reader@example.org")));
        QCOMPARE(mail.value(QLatin1String("to")).toString(), page->ledTo->text());
        const QString body = mail.value(QLatin1String("body")).toString();
        QVERIFY2(body.contains(verse), qPrintable(body));
        QVERIFY2(body.contains(QString::fromUtf8("[معنای این آیه چیست؟")), qPrintable(body));
        QVERIFY(body.contains(QString::fromUtf8("سپاس]")));
        QCOMPARE(mail.value(QLatin1String("defects")).toArray().size(), 0);
        const QJsonArray attachments = mail.value(QLatin1String("attachments")).toArray();
        QCOMPARE(attachments.size(), 1);
        QCOMPARE(attachments[0].toObject().value(QLatin1String("hex")).toString().toLatin1(),
                 attachment.toHex());
    }
};

QTEST_MAIN(tst_QuestionSend)
#include "tst_questionsend.moc"
