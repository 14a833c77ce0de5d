#include "doubles/MemoryTimeZone.h"
#include "mail/AddressList.h"
#include "mail/EncodedWords.h"
#include "mail/HeaderFolding.h"
#include "mail/MailDate.h"
#include "mail/MailMessage.h"
#include "mail/MessageWriter.h"
#include "platform/Error.h"
#include "platform/SystemTimeZone.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Persian3 = QStringLiteral("علی"); // UTF-8: D8 B9 D9 84 DB 8C

struct Written {
    QList<QByteArray> header;
    QList<QByteArray> body;
    QStringList statuses;
    QByteArray all;
    // As a server stores it: with the extra full stops taken out again.
    QByteArray received;
};

Written write(const MailMessage &message)
{
    Written out;
    bool inHeader = true;
    MessageWriter writer(
        message,
        [&](const QByteArray &line) {
            out.all += line + "\r\n";
            out.received += (line.startsWith('.') ? line.mid(1) : line) + "\r\n";
            if (inHeader && line.isEmpty())
                inHeader = false;
            else
                (inHeader ? out.header : out.body).append(line);
        },
        [&](const QString &text) { out.statuses.append(text); });
    writer.setScheme(EncodedWords::Q);
    writer.write();
    return out;
}

QStringList fieldNames(const QList<QByteArray> &header)
{
    QStringList names;
    for (const QByteArray &line : header) {
        if (!line.startsWith(' ') && !line.startsWith('\t'))
            names.append(QString::fromUtf8(line.left(line.indexOf(':'))));
    }
    return names;
}

QByteArray field(const QList<QByteArray> &header, const QByteArray &name)
{
    for (int i = 0; i < header.size(); ++i) {
        if (!header[i].startsWith(name + ':'))
            continue;
        QByteArray value = header[i];
        while (i + 1 < header.size() &&
               (header[i + 1].startsWith(' ') || header[i + 1].startsWith('\t')))
            value += "\r\n" + header[++i];
        return value;
    }
    return QByteArray();
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace

class TestMessageWriter : public QObject {
    Q_OBJECT
private slots:
    void init() { m_zone.setStandardOffset(0); }

    void addressListText_data();
    void addressListText();
    void addressText_data();
    void addressText();
    void encodedWords_data();
    void encodedWords();
    void longSubjectContinuesOnTabLines();
    void foldingKeepsQuotedTextAndEncodedWords();
    void lineBreaksInValuesCannotStartFields();
    void headerOrder();
    void date_data();
    void date();
    void dateFailsWithoutTimeZone();
    void systemTimeZoneFollowsDaylightSaving();
    void bodyDotStuffing();
    void bodyBeyondPlainLinesGoesAsBase64();
    void attachments();
    void attachmentThatCannotBeOpened();
    void decodedByPython();

private:
    MemoryTimeZone m_zone;
};

void TestMessageWriter::addressListText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("header");

    QTest::newRow("one address and a comma")
        << "q@kevran.example," << QStringList{"q@kevran.example"} << QStringList{""}
        << QByteArray("q@kevran.example");
    QTest::newRow("blank") << "   " << QStringList{} << QStringList{} << QByteArray();
    QTest::newRow("comma and semicolon")
        << " a@x.example ; b@y.example,c@z.example "
        << QStringList{"a@x.example", "b@y.example", "c@z.example"} << QStringList{"", "", ""}
        << QByteArray("a@x.example, b@y.example, c@z.example");
    QTest::newRow("quoted name with comma")
        << "\"Doe, John\" <j@x.example>, b@y.example" << QStringList{"j@x.example", "b@y.example"}
        << QStringList{"Doe, John", ""} << QByteArray("\"Doe, John\" <j@x.example>, b@y.example");
    QTest::newRow("comma inside parentheses")
        << "(a, b) <c@x.example>" << QStringList{"c@x.example"} << QStringList{"(a, b)"}
        << QByteArray("\"(a, b)\" <c@x.example>");
    QTest::newRow("empty items dropped")
        << "a@x.example,, <> ,b@y.example,<>" << QStringList{"a@x.example", "b@y.example"}
        << QStringList{"", ""} << QByteArray("a@x.example, b@y.example");
}

void TestMessageWriter::addressListText()
{
    QFETCH(QString, text);
    QFETCH(QStringList, addresses);
    QFETCH(QStringList, names);
    QFETCH(QByteArray, header);

    const AddressList list = AddressList::parse(text);
    QStringList gotAddresses, gotNames;
    for (const MailAddress &a : list.items()) {
        gotAddresses.append(a.address);
        gotNames.append(a.name);
    }
    QCOMPARE(gotAddresses, addresses);
    QCOMPARE(gotNames, names);
    QCOMPARE(list.text(), header);
}

void TestMessageWriter::addressText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("no name") << QString() << QByteArray("a@x.example");
    QTest::newRow("ascii name quoted")
        << "Ali \"the\" \\ Reza" << QByteArray("\"Ali \\\"the\\\" \\\\ Reza\" <a@x.example>");
    QTest::newRow("persian name") << Persian3
                                  << QByteArray("=?UTF-8?Q?=D8=B9=D9=84=DB=8C?= <a@x.example>");
    // Outside ASCII, specials count as bytes to encode; plain words stay as they are.
    QTest::newRow("persian with specials")
        << Persian3 + " Ali (x.y)"
        << QByteArray("=?UTF-8?Q?=D8=B9=D9=84=DB=8C?= Ali =?UTF-8?Q?=28x=2Ey=29?= <a@x.example>");
}

void TestMessageWriter::addressText()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, text);
    QCOMPARE(MailAddress(QStringLiteral("a@x.example"), name).text(), text);
}

void TestMessageWriter::encodedWords_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QByteArray>("encoded");

    QTest::newRow("printable ascii unchanged") << "KEVRAN2[Ali] = what? a_b" << int(EncodedWords::Q)
                                               << QByteArray("KEVRAN2[Ali] = what? a_b");
    QTest::newRow("persian name in brackets")
        << "KEVRAN2[" + Persian3 + "]" << int(EncodedWords::Q)
        << QByteArray("=?UTF-8?Q?KEVRAN2[=D8=B9=D9=84=DB=8C]?=");
    QTest::newRow("two words, one stretch")
        << "KEVRAN2[" + Persian3 + " " + Persian3 + "]" << int(EncodedWords::Q)
        << QByteArray("=?UTF-8?Q?KEVRAN2[=D8=B9=D9=84=DB=8C_=D8=B9=D9=84=DB=8C]?=");
    QTest::newRow("plain words around a stretch")
        << "Re:  " + Persian3 + "=?_\t" + Persian3 + " x" << int(EncodedWords::Q)
        << QByteArray("Re:  =?UTF-8?Q?=D8=B9=D9=84=DB=8C=3D=3F=5F=09=D8=B9=D9=84=DB=8C?= x");
    QTest::newRow("b scheme") << "a " + Persian3 << int(EncodedWords::B)
                              << QByteArray("a =?UTF-8?B?2LnZhNuM?=");
}

void TestMessageWriter::encodedWords()
{
    QFETCH(QString, value);
    QFETCH(int, scheme);
    QFETCH(QByteArray, encoded);
    QCOMPARE(EncodedWords::encode(value, EncodedWords::Scheme(scheme)), encoded);
}

void TestMessageWriter::longSubjectContinuesOnTabLines()
{
    for (const auto scheme : {EncodedWords::Q, EncodedWords::B}) {
        QString subject = QStringLiteral("KEVRAN2[");
        for (int i = 0; i < 40; ++i)
            subject += Persian3.at(i % 3);
        subject += QLatin1Char(']');

        const QByteArray value = EncodedWords::encode(subject, scheme);
        const QList<QByteArray> lines = HeaderFolding::lines("Subject", value);
        QVERIFY(lines.size() > 2);
        // The first word is longer than 69 characters, so it goes to a line of its own.
        QCOMPARE(lines[0], QByteArray("Subject:"));
        QVERIFY(lines[1].startsWith(" =?UTF-8?"));
        QString decoded;
        for (int i = 1; i < lines.size(); ++i) {
            if (i > 1)
                QVERIFY2(lines[i].startsWith("\t=?UTF-8?"), lines[i].constData());
            const QByteArray word = lines[i].mid(1);
            QVERIFY(word.size() <= EncodedWords::MaxWordLength);
            QVERIFY(word.endsWith("?="));
            // Each word holds whole characters: it decodes on its own.
            QByteArray bytes = word.mid(10, word.size() - 12);
            if (scheme == EncodedWords::B) {
                bytes = QByteArray::fromBase64(bytes);
            } else {
                bytes.replace('_', ' ');
                bytes = QByteArray::fromPercentEncoding(bytes, '=');
            }
            QStringDecoder utf8(QStringDecoder::Utf8);
            decoded += utf8.decode(bytes);
            QVERIFY(!utf8.hasError());
        }
        QCOMPARE(decoded, subject);
    }
}

void TestMessageWriter::foldingKeepsQuotedTextAndEncodedWords()
{
    // A long list breaks after its commas, never inside a quoted name.
    AddressList list;
    for (int i = 0; i < 6; ++i)
        list.add(MailAddress(QStringLiteral("reader%1@kevran.example").arg(i),
                             QStringLiteral("Reader, number %1").arg(i)));
    const QList<QByteArray> lines = HeaderFolding::lines("To", list.text());
    QByteArray joined;
    for (const QByteArray &line : lines) {
        QVERIFY2(line.size() <= HeaderFolding::MaxLineLength, line.constData());
        QCOMPARE(line.count('"') % 2, 0);
        joined += line;
    }
    QCOMPARE(joined, "To: " + list.text());

    // Commas inside an encoded word are no break points; a line without any other break
    // point stays whole.
    const QByteArray word =
        EncodedWords::encode(Persian3 + QStringLiteral(",a,b,c,d,e,f,g,h"), EncodedWords::Q);
    const QByteArray longValue = "xxxxxxxxxxxxxxxxxxxxxxxx " + word;
    QCOMPARE(HeaderFolding::fold("Subject: " + longValue),
             (QList<QByteArray>{"Subject: xxxxxxxxxxxxxxxxxxxxxxxx", " " + word}));
    const QByteArray unbreakable = "X-Long:" + QByteArray(90, 'y');
    QCOMPARE(HeaderFolding::fold(unbreakable), QList<QByteArray>{unbreakable});
}

void TestMessageWriter::lineBreaksInValuesCannotStartFields()
{
    MailMessage message;
    message.From = MailAddress(QStringLiteral("r@x.example"), QStringLiteral("Ali\r\nBcc: b@x"));
    message.Recipients.setText(QStringLiteral("q@kevran.example"));
    message.Subject = QStringLiteral("Hi\r\nBcc: evil@x.example\n\nbody?");
    message.ExtraHeaders.set(QStringLiteral("X-Note"), QStringLiteral("one\rTwo: three"));
    message.Body = {QStringLiteral("text")};
    const Written w = write(message);
    QCOMPARE(fieldNames(w.header),
             (QStringList{"From", "Subject", "To", "Date", "X-Priority", "X-Library", "X-Note"}));
    for (const QByteArray &line : w.header)
        QVERIFY(!line.trimmed().isEmpty());
    QCOMPARE(field(w.header, "Subject"),
             QByteArray("Subject: Hi\r\n Bcc: evil@x.example\r\n body?"));
    QCOMPARE(w.body, QList<QByteArray>{"text"});
}

void TestMessageWriter::headerOrder()
{
    QTemporaryDir dir;
    MailMessage message;
    message.From.address = QStringLiteral("reader@x.example");
    message.Recipients.setText(QStringLiteral("q@kevran.example,"));
    message.Subject = QStringLiteral("KEVRAN2[Ali]");
    message.Body = {QStringLiteral("verse[question]")};

    Written w = write(message);
    QCOMPARE(fieldNames(w.header),
             (QStringList{"From", "Subject", "To", "Date", "X-Priority", "X-Library"}));
    QCOMPARE(w.header[0], QByteArray("From: reader@x.example"));
    QCOMPARE(w.header[1], QByteArray("Subject: KEVRAN2[Ali]"));
    QCOMPARE(w.header[2], QByteArray("To: q@kevran.example"));
    QCOMPARE(w.header[4], QByteArray("X-Priority: 3"));
    QCOMPARE(w.header[5], QByteArray("X-Library: KEVRAN2 Mail 1.0"));
    QCOMPARE(w.statuses, QStringList{"Encoding text"});

    message.addAttachment(writeFile(dir, QStringLiteral("a.bin"), "x"));
    message.CCList.setText(QStringLiteral("cc@x.example"));
    message.BccList.setText(QStringLiteral("hidden@x.example"));
    message.ExtraHeaders.set(QStringLiteral("X-Mailer"), QStringLiteral("agent"));
    message.ExtraHeaders.set(QStringLiteral("X-Extra"), QStringLiteral("1"));
    message.ExtraHeaders.set(QStringLiteral("x-mailer"), QString());
    w = write(message);
    QCOMPARE(fieldNames(w.header),
             (QStringList{"From", "Subject", "To", "Cc", "Content-Type", "MIME-Version", "Date",
                          "X-Priority", "X-Library", "X-Extra"}));
    QCOMPARE(
        field(w.header, "Content-Type"),
        QByteArray("Content-Type: multipart/mixed; boundary=\"" + MessageWriter::Boundary + "\""));
    QCOMPARE(field(w.header, "MIME-Version"), QByteArray("MIME-Version: 1.0"));
    QVERIFY(!w.all.contains("hidden@x.example"));
}

void TestMessageWriter::date_data()
{
    QTest::addColumn<int>("standard");
    QTest::addColumn<bool>("inDaylightSaving");
    QTest::addColumn<QByteArray>("expected");

    // 2024-03-05 10:33:09 UTC, a Tuesday.
    QTest::newRow("utc") << 0 << false << QByteArray("Tue, 5 Mar 2024 10:33:09 +0000");
    QTest::newRow("tehran") << 12600 << false << QByteArray("Tue, 5 Mar 2024 14:03:09 +0330");
    QTest::newRow("tehran, daylight saving")
        << 12600 << true << QByteArray("Tue, 5 Mar 2024 15:03:09 +0430");
    QTest::newRow("west of utc, day before")
        << -(10 * 3600 + 45 * 60) << false << QByteArray("Mon, 4 Mar 2024 23:48:09 -1045");
}

void TestMessageWriter::date()
{
    QFETCH(int, standard);
    QFETCH(bool, inDaylightSaving);
    QFETCH(QByteArray, expected);

    const QDateTime instant(QDate(2024, 3, 5), QTime(10, 33, 9), Qt::UTC);
    m_zone.setStandardOffset(standard);
    m_zone.setDaylightSaving(inDaylightSaving ? 3600 : 0, instant.addDays(-1), instant.addDays(1));

    MailMessage message;
    message.Date = instant;
    QCOMPARE(field(write(message).header, "Date"), "Date: " + expected);
    // Outside the daylight saving period the standard offset holds again.
    m_zone.setStandardOffset(0);
    QVERIFY(MailDate::local(instant.addDays(2)).endsWith(" +0000"));
}

void TestMessageWriter::dateFailsWithoutTimeZone()
{
    // The current time, in the current zone's offset.
    m_zone.setStandardOffset(-7200);
    static const QRegularExpression form(
        QStringLiteral("^(Sun|Mon|Tue|Wed|Thu|Fri|Sat), [1-9]\\d? [A-Z][a-z]{2} \\d{4} "
                       "\\d\\d:\\d\\d:\\d\\d -0200$"));
    QVERIFY(form.match(QString::fromLatin1(MailDate::local())).hasMatch());

    m_zone.setAvailable(false);
    MailMessage message;
    try {
        write(message);
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.message(),
                 QStringLiteral("Failed attempting to retrieve time zone information."));
    }
    m_zone.setAvailable(true);
}

void TestMessageWriter::systemTimeZoneFollowsDaylightSaving()
{
    const QByteArray saved = qgetenv("TZ");
    // +03:30, with one hour more from the last Sunday of March to the last Sunday of October.
    qputenv("TZ", "XST-3:30XDT,M3.5.0,M10.5.0");
    SystemTimeZone zone;
    const auto winter = zone.offsetFromUtc(QDateTime(QDate(2024, 1, 15), QTime(12, 0), Qt::UTC));
    const auto summer = zone.offsetFromUtc(QDateTime(QDate(2024, 7, 15), QTime(12, 0), Qt::UTC));
    if (saved.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", saved);
    QCOMPARE(winter, std::optional<int>(12600));
    QCOMPARE(summer, std::optional<int>(16200));
}

void TestMessageWriter::bodyDotStuffing()
{
    MailMessage message;
    message.Body = {QStringLiteral("."), QStringLiteral(".x"), QStringLiteral("x."),
                    QStringLiteral(""), QStringLiteral("a\n.\r\nb\r.c")};
    // A line break inside an entry starts a line of its own, stuffed like any other, so the
    // data can never end early.
    QCOMPARE(write(message).body,
             (QList<QByteArray>{"..", "..x", "x.", "", "a", "..", "b", "..c"}));
}

void TestMessageWriter::bodyBeyondPlainLinesGoesAsBase64()
{
    // The text as the plain form would carry it: each line with its CR LF.
    const auto decodedBody = [](const QList<QByteArray> &lines) {
        QByteArray out;
        for (const QByteArray &line : lines) {
            if (line.size() > 76)
                return QByteArray("a line of ") + QByteArray::number(line.size());
            out += QByteArray::fromBase64(line, QByteArray::AbortOnBase64DecodingErrors);
        }
        return out;
    };

    // Persian and Arabic text: UTF-8 in base64, said so, with or without attachments.
    QTemporaryDir dir;
    MailMessage message;
    message.From.address = QStringLiteral("reader@x.example");
    const QString verse = QString(300, QChar(0x0628)) + QStringLiteral("[سؤال");
    message.Body = {verse + QStringLiteral("\n.x"), QStringLiteral("]")};
    Written w = write(message);
    QCOMPARE(w.statuses, QStringList{QStringLiteral("Encoding text")});
    QCOMPARE(field(w.header, "Content-Type"),
             QByteArray("Content-Type: text/plain; charset=\"UTF-8\""));
    QCOMPARE(field(w.header, "MIME-Version"), QByteArray("MIME-Version: 1.0"));
    QCOMPARE(field(w.header, "Content-Transfer-Encoding"),
             QByteArray("Content-Transfer-Encoding: base64"));
    const QByteArray expected = verse.toUtf8() + "\r\n.x\r\n]\r\n";
    QCOMPARE(decodedBody(w.body), expected);
    QCOMPARE(w.body.first().size(), 76);

    message.addAttachment(writeFile(dir, QStringLiteral("a.bin"), "x"));
    w = write(message);
    QVERIFY(field(w.header, "Content-Type").startsWith("Content-Type: multipart/mixed"));
    QVERIFY(field(w.header, "Content-Transfer-Encoding").isEmpty());
    const QList<QByteArray> start{"This is a multi-part message in MIME format",
                                  "",
                                  "--" + MessageWriter::Boundary,
                                  "Content-Type: text/plain; charset=\"UTF-8\"",
                                  "Content-Transfer-Encoding: base64",
                                  ""};
    QCOMPARE(w.body.mid(0, start.size()), start);
    const qsizetype end = w.body.indexOf(QByteArray(), start.size());
    QCOMPARE(decodedBody(w.body.mid(start.size(), end - start.size())), expected);

    // ASCII goes plain while every line fits in 998 octets on the wire, the extra full stop
    // counted; a longer line, or a control character, sends the whole body in base64.
    message.MessageParts.clear();
    for (const QByteArray &line :
         {QByteArray(998, 'a'), QByteArray("." + QByteArray(996, 'a')), QByteArray("tab\there")}) {
        message.Body = {QStringLiteral("first"), QString::fromLatin1(line)};
        QVERIFY(MessageWriter::bodyIsPlain(message.Body));
        QVERIFY(field(write(message).header, "Content-Type").isEmpty());
    }
    for (const QByteArray &line : {QByteArray(999, 'a'), QByteArray("." + QByteArray(997, 'a')),
                                   QByteArray("nul\0here", 8), QByteArray("del\x7f")}) {
        message.Body = {QStringLiteral("first"), QString::fromLatin1(line)};
        QVERIFY(!MessageWriter::bodyIsPlain(message.Body));
        w = write(message);
        QCOMPARE(field(w.header, "Content-Transfer-Encoding"),
                 QByteArray("Content-Transfer-Encoding: base64"));
        QCOMPARE(decodedBody(w.body), "first\r\n" + line + "\r\n");
    }
}

void TestMessageWriter::attachments()
{
    QTemporaryDir dir;
    QByteArray large(1000, Qt::Uninitialized);
    for (char &c : large)
        c = char(QRandomGenerator::global()->bounded(256));

    MailMessage message;
    message.Body = {QStringLiteral(".body")};
    message.addAttachment(writeFile(dir, QStringLiteral("empty.txt"), QByteArray()));
    message.addAttachment(writeFile(dir, QStringLiteral("58.bin"), QByteArray(58, 'z')));
    message.addAttachment(writeFile(dir, QStringLiteral("say \"hi\".bin"), large));

    const Written w = write(message);
    QCOMPARE(w.statuses, QStringList(3, QStringLiteral("Encoding attachment")));
    const QByteArray b = "--" + MessageWriter::Boundary;
    const QList<QByteArray> start{"This is a multi-part message in MIME format",
                                  "",
                                  b,
                                  "Content-Type: text/plain",
                                  "Content-Transfer-Encoding: 7bit",
                                  "",
                                  "..body"};
    QCOMPARE(w.body.mid(0, start.size()), start);

    const auto part = [&](const QByteArray &name) {
        return QList<QByteArray>{"",
                                 b,
                                 "Content-Type: application/octet-stream;",
                                 "        name=" + name,
                                 "Content-Transfer-Encoding: base64",
                                 "Content-Disposition: attachment;",
                                 "        filename=" + name,
                                 ""};
    };
    int at = int(start.size());
    QCOMPARE(w.body.mid(at, 8), part("\"empty.txt\""));
    at += 8;
    QCOMPARE(w.body.mid(at, 1), QList<QByteArray>{""});
    at += 1;
    QCOMPARE(w.body.mid(at, 8), part("\"58.bin\""));
    at += 8;
    QCOMPARE(w.body[at].size(), 76);
    QCOMPARE(w.body[at + 1], QByteArray(58 - 57, 'z').toBase64());
    QCOMPARE(w.body[at + 2], QByteArray());
    at += 3;
    QCOMPARE(w.body.mid(at, 8), part("\"say \\\"hi\\\".bin\""));
    at += 8;
    QByteArray decoded;
    while (!w.body[at].isEmpty()) {
        QVERIFY(w.body[at].size() == 76 || w.body[at + 1].isEmpty());
        decoded += QByteArray::fromBase64(w.body[at++]);
    }
    QCOMPARE(decoded, large);
    QCOMPARE(w.body.mid(at), (QList<QByteArray>{"", b + "--"}));
}

void TestMessageWriter::attachmentThatCannotBeOpened()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("gone.txt"));
    MailMessage message;
    message.Body = {QStringLiteral("text")};
    message.addAttachment(missing);
    QList<QByteArray> lines;
    MessageWriter writer(message, [&](const QByteArray &line) { lines.append(line); });
    try {
        writer.write();
        QFAIL("no error");
    } catch (const Error &e) {
        QCOMPARE(e.message(),
                 QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(missing));
    }
    // The header and the text part went out before the failure.
    QVERIFY(lines.contains("text"));
    QVERIFY(!lines.contains("Content-Transfer-Encoding: base64"));
}

void TestMessageWriter::decodedByPython()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is not installed");

    QTemporaryDir dir;
    QByteArray content;
    for (int i = 0; i < 5000; ++i)
        content += char(i * 7 % 256);
    MailMessage message;
    message.From = MailAddress(QStringLiteral("reader@x.example"), Persian3 + " (Ali)");
    message.Recipients.setText(QStringLiteral("q@kevran.example, \"Doe, John\" <j@x.example>"));
    QString longName;
    for (int i = 0; i < 50; ++i)
        longName += Persian3.at(i % 3) + QString(i % 7 == 6 ? QStringLiteral(" ") : QString());
    message.Subject = QStringLiteral("KEVRAN2[") + longName + QLatin1Char(']');
    message.Body = {QStringLiteral("بسم الله[سؤال"), QStringLiteral(".]")};
    message.addAttachment(writeFile(dir, QStringLiteral("data.bin"), content));
    const QByteArray bytes = write(message).received;
    writeFile(dir, QStringLiteral("message.eml"), bytes);

    const QString script = QStringLiteral(R"(
import email, email.policy, json, sys
m = email.message_from_bytes(open(sys.argv[1], 'rb').read(), policy=email.policy.default)
parts = list(m.iter_attachments())
print(json.dumps({
    'subject': str(m['subject']),
    'fromName': m['from'].addresses[0].display_name,
    'fromAddress': m['from'].addresses[0].addr_spec,
    'to': [a.addr_spec for a in m['to'].addresses],
    'text': next(m.iter_parts()).get_payload(decode=True).decode('utf-8'),
    'file': parts[0].get_filename(),
    'data': parts[0].get_payload(decode=True).hex(),
    'defects': len(m.defects),
}))
)");
    QProcess process;
    process.start(python,
                  {QStringLiteral("-c"), script, dir.filePath(QStringLiteral("message.eml"))});
    QVERIFY(process.waitForFinished(20000));
    QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
    const QJsonObject got = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    // The subject's first line is "Subject:" alone; the parser keeps the folding blank.
    QCOMPARE(got[QStringLiteral("subject")].toString().trimmed(), message.Subject);
    QCOMPARE(got[QStringLiteral("fromName")].toString(), message.From.name);
    QCOMPARE(got[QStringLiteral("fromAddress")].toString(), message.From.address);
    QCOMPARE(got[QStringLiteral("to")].toArray(),
             (QJsonArray{QStringLiteral("q@kevran.example"), QStringLiteral("j@x.example")}));
    QCOMPARE(got[QStringLiteral("text")].toString(), QStringLiteral("بسم الله[سؤال\r\n.]\r\n"));
    QCOMPARE(got[QStringLiteral("file")].toString(), QStringLiteral("data.bin"));
    QCOMPARE(QByteArray::fromHex(got[QStringLiteral("data")].toString().toLatin1()), content);
    QCOMPARE(got[QStringLiteral("defects")].toInt(), 0);
}

QTEST_GUILESS_MAIN(TestMessageWriter)
#include "tst_MessageWriter.moc"
