// The settings stream text: exact bytes written, what the reader accepts, and its errors.

#include "platform/Error.h"
#include "settings/ColorSettings.h"
#include "settings/ColorValue.h"
#include "settings/FontSettings.h"
#include "settings/StreamParser.h"
#include "settings/StreamWriter.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

QByteArray lines(const QStringList &text)
{
    QByteArray bytes;
    for (const QString &line : text)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

FontSettings quranFont()
{
    FontSettings quran(QStringLiteral("Quran"), 165, 117);
    quran.font().setName(QStringLiteral("Tahoma"));
    quran.font().setHeight(-16);
    quran.font().setStyle(SettingsFont::fsBold);
    return quran;
}

QString readError(SettingsObject &object, const QByteArray &bytes)
{
    try {
        object.read(bytes);
    } catch (const Error &error) {
        return error.message();
    }
    return QString();
}

} // namespace

class StreamTest : public QObject {
    Q_OBJECT

private slots:
    void writesQuranExample();
    void writesEveryFontPropertyInOrderAndReadsItBack();
    void writesColourFileWithCustomColours();
    void writesBlackAndEmptyListAsNothing();
    void writesTextsAsRunsAndCodes();
    void breaksLongTexts();
    void writesNestedObjects();
    void readsFreeLayout();
    void readsHeaderForms();
    void readsNumbersAndStrings();
    void ignoresNestedObjectsAndWhatFollowsEnd();
    void reportsSyntaxErrors_data();
    void reportsSyntaxErrors();
    void reportsPropertyErrors_data();
    void reportsPropertyErrors();
    void keepsPropertiesBeforeAnError();
    void survivesTruncatedAndDamagedInput();
};

void StreamTest::writesQuranExample()
{
    QCOMPARE(quranFont().toBytes(), lines({
                                        "object Quran: TFontDialog",
                                        "  Font.Charset = ARABIC_CHARSET",
                                        "  Font.Color = clWindowText",
                                        "  Font.Height = -16",
                                        "  Font.Name = 'Tahoma'",
                                        "  Font.Style = [fsBold]",
                                        "  Left = 165",
                                        "  Top = 117",
                                        "end",
                                    }));
}

void StreamTest::writesEveryFontPropertyInOrderAndReadsItBack()
{
    FontSettings font(QStringLiteral("Book"), -3, 0);
    font.setTag(7);
    font.setCtl3D(false);
    font.setHelpContext(12);
    font.font().setCharset(100);
    font.font().setColor(ColorValue::systemColor(25));
    font.font().setHeight(20);
    font.font().setName(QStringLiteral("Courier New"));
    font.font().setPitch(SettingsFont::fpFixed);
    font.font().setStyle(SettingsFont::fsStrikeOut | SettingsFont::fsItalic);
    font.setDevice(FontSettings::fdBoth);
    font.setMinFontSize(4);
    font.setMaxFontSize(72);
    font.setOptions(FontSettings::fdApplyButton | FontSettings::fdAnsiOnly);
    const QByteArray bytes = font.toBytes();
    QCOMPARE(bytes, lines({
                        "object Book: TFontDialog",
                        "  Tag = 7",
                        "  Ctl3D = False",
                        "  HelpContext = 12",
                        "  Font.Charset = 100",
                        "  Font.Color = -16777191",
                        "  Font.Height = 20",
                        "  Font.Name = 'Courier New'",
                        "  Font.Pitch = fpFixed",
                        "  Font.Style = [fsItalic, fsStrikeOut]",
                        "  Device = fdBoth",
                        "  MinFontSize = 4",
                        "  MaxFontSize = 72",
                        "  Options = [fdAnsiOnly, fdApplyButton]",
                        "  Left = -3",
                        "end",
                    }));

    FontSettings back(QStringLiteral("Book"));
    back.read(bytes);
    QCOMPARE(back.toBytes(), bytes);
    QVERIFY(back.font() == font.font());
    QCOMPARE(back.options(), font.options());
}

void StreamTest::writesColourFileWithCustomColours()
{
    ColorSettings colour(QStringLiteral("Quranc"), 133, 69);
    colour.setColor(ColorValue::rgb(0x12, 0x34, 0x56));
    for (int i = 0; i < ColorSettings::customColorCount; ++i)
        colour.setCustomColor(i, i == 0 ? 0x1Au : ColorSettings::noColor);
    colour.setOptions(ColorSettings::cdFullOpen | ColorSettings::cdAnyColor);
    QStringList expected = {"object Quranc: TColorDialog", "  Color = 5649426",
                            "  CustomColors.Strings = (", "    'ColorA=00001A'"};
    for (char letter = 'B'; letter <= 'P'; ++letter)
        expected << QStringLiteral("    'Color%1=FFFFFFFF'").arg(QLatin1Char(letter));
    expected.last() += QLatin1Char(')');
    expected << "  Options = [cdFullOpen, cdAnyColor]"
             << "  Left = 133"
             << "  Top = 69"
             << "end";
    const QByteArray bytes = colour.toBytes();
    QCOMPARE(bytes, lines(expected));

    ColorSettings back(QStringLiteral("Quranc"));
    back.read(bytes);
    QCOMPARE(back.toBytes(), bytes);
}

void StreamTest::writesBlackAndEmptyListAsNothing()
{
    const ColorSettings colour(QStringLiteral("Bookc"), 109, 109);
    QCOMPARE(colour.toBytes(),
             lines({"object Bookc: TColorDialog", "  Left = 109", "  Top = 109", "end"}));

    ColorSettings white(QStringLiteral("Bookc"));
    white.setColor(ColorValue::clWhite);
    QVERIFY(white.toBytes().contains("\r\n  Color = clWhite\r\n"));
}

void StreamTest::writesTextsAsRunsAndCodes()
{
    struct Case {
        QString name;
        QByteArray written;
    };
    const QList<Case> cases = {
        {QString(), "''"}, // not written as a property: checked through the writer below
        {QStringLiteral("Tom's Font"), "'Tom'#39's Font'"},
        {QStringLiteral("بی نازنین"), "#1576#1740' '#1606#1575#1586#1606#1740#1606"},
        {QStringLiteral("a\tb"), "'a'#9'b'"},
        {QStringLiteral("''"), "#39#39"},
        {QString::fromUcs4(U"x\U0001F600"), "'x'#128512"},
    };
    for (const Case &c : cases) {
        StreamObject object(QStringLiteral("Quran"), QStringLiteral("TFontDialog"));
        object.add(QStringLiteral("Font.Name"), StreamValue::string(c.name));
        const QByteArray bytes = StreamWriter::write(object);
        QCOMPARE(bytes.split('\n').at(1), "  Font.Name = " + c.written + '\r');

        const StreamParser::Result back = StreamParser::parse(bytes);
        QVERIFY2(back.ok(), qPrintable(back.error));
        QCOMPARE(back.object.properties.at(0).value.text, c.name);
    }
}

void StreamTest::breaksLongTexts()
{
    const QString sixtyFour(64, QLatin1Char('a'));
    FontSettings font(QStringLiteral("Quran"));
    font.font().setName(sixtyFour);
    QVERIFY(font.toBytes().contains("\r\n  Font.Name = '" + sixtyFour.toLatin1() + "'\r\n"));

    // 64 characters of the text per line, counted before quoting.
    const QString text = sixtyFour + QString(63, QLatin1Char('b')) + QStringLiteral("'c");
    font.font().setName(text);
    const QByteArray bytes = font.toBytes();
    QVERIFY2(bytes.contains("\r\n  Font.Name = \r\n    '" + sixtyFour.toLatin1() + "' +\r\n    '" +
                            QByteArray(63, 'b') + "'#39 +\r\n    'c'\r\n"),
             bytes.constData());
    FontSettings back(QStringLiteral("Quran"));
    back.read(bytes);
    QCOMPARE(back.font().name(), text);

    // A long list item already has its own line and continues at its own level.
    ColorSettings colour(QStringLiteral("Quranc"));
    colour.setCustomColors({QString(70, QLatin1Char('x'))});
    QVERIFY(
        colour.toBytes().contains("(\r\n    '" + QByteArray(64, 'x') + "' +\r\n    'xxxxxx')\r\n"));
    ColorSettings colourBack(QStringLiteral("Quranc"));
    colourBack.read(colour.toBytes());
    QCOMPARE(colourBack.customColors(), colour.customColors());
}

void StreamTest::writesNestedObjects()
{
    StreamObject outer(QStringLiteral("Outer"), QStringLiteral("TOuter"));
    StreamObject inner(QString(), QStringLiteral("TInner"));
    inner.add(QStringLiteral("Items"),
              StreamValue::list({StreamValue::integer(1), StreamValue::identifier("two")}));
    outer.children.push_back(inner);
    QCOMPARE(StreamWriter::write(outer), lines({
                                             "object Outer: TOuter",
                                             "  object TInner",
                                             "    Items = (",
                                             "      1",
                                             "      two)",
                                             "  end",
                                             "end",
                                         }));
}

void StreamTest::readsFreeLayout()
{
    const QByteArray bytes = "\n\n   OBJECT   Quran :\tTFontDialog\n\n"
                             "font . height\r=\r\n-20 font.NAME=\r'Ta'\n+\n'ho'+'ma'\r\r"
                             "Font.Style = [ FSBOLD ,fsItalic ] Font.Color=clwindowtext "
                             "Font.Charset = arabic_charset\nEnD";
    FontSettings font(QStringLiteral("Quran"));
    font.font().setCharset(0);
    font.font().setColor(0);
    font.read(bytes);
    QCOMPARE(font.font().height(), -20);
    QCOMPARE(font.font().name(), QStringLiteral("Tahoma"));
    QCOMPARE(font.font().style(), quint32(SettingsFont::fsBold | SettingsFont::fsItalic));
    QCOMPARE(font.font().color(), ColorValue::clWindowText);
    QCOMPARE(font.font().charset(), 178);

    // A byte order mark and raw UTF-8 in a quoted run are accepted as well.
    font.read("\xEF\xBB\xBFobject Quran: TFontDialog Font.Name = '\xD8\xA8' end");
    QCOMPARE(font.font().name(), QStringLiteral("ب"));

    // The longest line accepted.
    const QString longest(4096 - 16, QLatin1Char('w'));
    font.read("object Quran: TFontDialog\r\n  Font.Name = '" + longest.toLatin1() + "'\r\nend");
    QCOMPARE(font.font().name(), longest);
}

void StreamTest::readsHeaderForms()
{
    FontSettings font(QStringLiteral("Quran"));
    font.read("inherited Other: TColorDialog [3] Tag = 1 end");
    QCOMPARE(font.name(), QStringLiteral("Other"));
    QCOMPARE(font.tag(), 1);

    // A kind alone names no object: the name stays, so the object can still be written.
    font.read("inline TFontDialog Tag = 2 end");
    QCOMPARE(font.name(), QStringLiteral("Other"));
    QCOMPARE(font.tag(), 2);
}

void StreamTest::readsNumbersAndStrings()
{
    ColorSettings colour(QStringLiteral("Quranc"));
    colour.read("object Quranc: TColorDialog Color = $FFFFFFFF Tag = $7f "
                "CustomColors.Strings = ('A' #66 'C'#68 '''') end");
    QCOMPARE(colour.color(), -1);
    QCOMPARE(colour.tag(), 127);
    QCOMPARE(colour.customColors(), QStringList({"A", "B", "CD", "'"}));

    const StreamParser::Result floats = StreamParser::parse(
        "object A: B X = 1.5e+3d Y = -2.0 Z = {0a 1B} W = <item A = 1 end> end");
    QVERIFY2(floats.ok(), qPrintable(floats.error));
    QCOMPARE(floats.object.properties.at(0).value.kind, StreamValue::Kind::Float);
    QCOMPARE(floats.object.properties.at(0).value.text, QStringLiteral("1.5e+3d"));
    QCOMPARE(floats.object.properties.at(1).value.kind, StreamValue::Kind::Float);
    QCOMPARE(floats.object.properties.at(2).value.text, QStringLiteral("0a1B"));
    QCOMPARE(floats.object.properties.at(3).value.kind, StreamValue::Kind::Collection);
}

void StreamTest::ignoresNestedObjectsAndWhatFollowsEnd()
{
    FontSettings font(QStringLiteral("Quran"));
    font.read("object Quran: TFontDialog Tag = 5\r\n"
              "  object Child: TThing Tag = 9 object TDeeper end end\r\n"
              "end\r\n\x01garbage 'unterminated\r\n" +
              QByteArray(5000, 'x'));
    QCOMPARE(font.tag(), 5);

    // A NUL character ends the text.
    QCOMPARE(readError(font, QByteArray("object Quran: TFontDialog Tag = 6") + '\0' + " end"),
             QStringLiteral("end expected on line 1"));
    QCOMPARE(font.tag(), 6);
}

void StreamTest::reportsSyntaxErrors_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");

    const QByteArray head = "object Quran: TFontDialog\r\n";
    QTest::newRow("empty") << QByteArray() << "object expected on line 1";
    QTest::newRow("no keyword") << QByteArray("\r\nthing Quran: TFontDialog end")
                                << "object expected on line 2";
    QTest::newRow("no name") << QByteArray("object : TFontDialog end")
                             << "Identifier expected on line 1";
    QTest::newRow("no kind") << QByteArray("object Quran:\r\n 1 end")
                             << "Identifier expected on line 2";
    QTest::newRow("bad index") << QByteArray("object Quran: TFontDialog [x] end")
                               << "Number expected on line 1";
    QTest::newRow("open index") << QByteArray("object Quran: TFontDialog [1 end")
                                << "'']'' expected on line 1";
    QTest::newRow("ends before end") << head + "  Tag = 1\r\n"
                                     << "end expected on line 3";
    QTest::newRow("ends after child") << head + "  object A: B end\r\n"
                                      << "end expected on line 3";
    QTest::newRow("stray character") << head + "  = 1\r\nend"
                                     << "Identifier expected on line 2";
    QTest::newRow("no equals") << head + "  Tag 1\r\nend"
                               << "''='' expected on line 2";
    QTest::newRow("path ends in dot") << head + "  Font. = 1\r\nend"
                                      << "Identifier expected on line 2";
    QTest::newRow("string broken") << head + "  Font.Name = 'Tah\r\noma'\r\nend"
                                   << "Invalid string constant on line 2";
    QTest::newRow("string at end of text") << head + "  Font.Name = 'Tah"
                                           << "Invalid string constant on line 2";
    QTest::newRow("code too large") << head + "  Font.Name = #1114112\r\nend"
                                    << "Invalid string constant on line 2";
    QTest::newRow("hash alone") << head + "  Font.Name = #\r\nend"
                                << "Number expected on line 2";
    QTest::newRow("minus alone") << head + "  Tag = -\r\nend"
                                 << "Number expected on line 2";
    QTest::newRow("dollar alone") << head + "  Tag = $\r\nend"
                                  << "Number expected on line 2";
    QTest::newRow("plus without string") << head + "  Font.Name = 'a' +\r\n  Tag = 1\r\nend"
                                         << "String expected on line 3";
    QTest::newRow("no value") << head + "  Tag = ;\r\nend"
                              << "Invalid property value on line 2";
    QTest::newRow("value at end of text") << head + "  Tag ="
                                          << "Invalid property value on line 2";
    QTest::newRow("set without comma") << head + "  Font.Style = [fsBold fsItalic]\r\nend"
                                       << "'']'' expected on line 2";
    QTest::newRow("set with number") << head + "  Font.Style = [1]\r\nend"
                                     << "Identifier expected on line 2";
    QTest::newRow("open list") << head + "  CustomColors.Strings = (\r\n    'a'\r\n"
                               << "'')'' expected on line 4";
    QTest::newRow("collection item") << head + "  X = <thing>\r\nend"
                                     << "item expected on line 2";
    QTest::newRow("binary") << head + "  X = {0g}\r\nend"
                            << "''}'' expected on line 2";
    QTest::newRow("line too long") << head + "  Font.Name = '" + QByteArray(4096, 'a') + "'\r\nend"
                                   << "Line too long on line 2";
    QByteArray lists = head + "  X = ";
    for (int i = 0; i < 10000; ++i)
        lists += "(\n";
    QTest::newRow("deep lists") << lists << "'')'' expected on line 34";
    QByteArray deep = head;
    for (int i = 0; i < 10000; ++i)
        deep += "object A: B\n";
    QTest::newRow("deep objects") << deep << "end expected on line 34";
}

void StreamTest::reportsSyntaxErrors()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const StreamParser::Result result = StreamParser::parse(bytes);
    QCOMPARE(result.error, error);

    FontSettings font(QStringLiteral("Quran"));
    QCOMPARE(readError(font, bytes), error);
}

void StreamTest::reportsPropertyErrors_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QString>("error");

    QTest::newRow("unknown") << QByteArray("Nope = 1")
                             << "Error reading Quran.Nope: Property Nope does not exist";
    QTest::newRow("unknown nested")
        << QByteArray("Font.Size = 8")
        << "Error reading Quran.Font.Size: Property Size does not exist";
    QTest::newRow("path through integer")
        << QByteArray("Tag.Value = 1") << "Error reading Quran.Tag.Value: Invalid property path";
    QTest::newRow("path through text")
        << QByteArray("Font.Name.Length = 1")
        << "Error reading Quran.Font.Name.Length: Invalid property path";
    QTest::newRow("object assigned")
        << QByteArray("Font = 3") << "Error reading Quran.Font: Invalid property value";
    const QList<QByteArray> badValues = {
        "Tag = 'x'",
        "Tag = 2147483648",
        "Tag = $100000000",
        "Tag = 1.5",
        "Ctl3D = Yes",
        "Ctl3D = 1",
        "Font.Charset = 256",
        "Font.Charset = -1",
        "Font.Charset = NOPE",
        "Font.Color = clNope",
        "Font.Color = 'clRed'",
        "Font.Height = 99999999999999999999999",
        "Font.Name = Tahoma",
        "Font.Name = ('a')",
        "Font.Pitch = fpWide",
        "Font.Style = fsBold",
        "Font.Style = [fsBold, fsWide]",
        "Device = 0",
        "Options = [cdFullOpen]",
        "MinFontSize = <>",
        "Left = {00}",
    };
    for (const QByteArray &line : badValues) {
        const QByteArray path = line.left(line.indexOf(' '));
        QTest::newRow(line.constData())
            << line
            << "Error reading Quran." + QString::fromLatin1(path) + ": Invalid property value";
    }
}

void StreamTest::reportsPropertyErrors()
{
    QFETCH(QByteArray, property);
    QFETCH(QString, error);
    FontSettings font(QStringLiteral("Quran"));
    QCOMPARE(readError(font, "object Quran: TFontDialog\r\n  " + property + "\r\nend\r\n"), error);
}

void StreamTest::keepsPropertiesBeforeAnError()
{
    FontSettings font(QStringLiteral("Quran"));
    QCOMPARE(readError(font, "object Renamed: TFontDialog\r\n  Font.Height = -20\r\n"
                             "  Font.Nope = 1\r\n  Tag = 3\r\nend\r\n"),
             QStringLiteral("Error reading Renamed.Font.Nope: Property Nope does not exist"));
    QCOMPARE(font.name(), QStringLiteral("Renamed"));
    QCOMPARE(font.font().height(), -20);
    QCOMPARE(font.tag(), 0);

    // Up to a syntax error as well: the assignments before it are applied.
    QCOMPARE(readError(font, "object Quran: TFontDialog\r\n  Tag = 4\r\n  Font.Name = 'x\r\nend"),
             QStringLiteral("Invalid string constant on line 3"));
    QCOMPARE(font.tag(), 4);
    QCOMPARE(font.font().name(), QStringLiteral("Tahoma"));

    // A list that does not convert replaces nothing.
    ColorSettings colour(QStringLiteral("Quranc"));
    colour.setCustomColors({"ColorA=1"});
    QVERIFY(!readError(colour, "object Quranc: TColorDialog CustomColors.Strings = ('a' 1) end")
                 .isEmpty());
    QCOMPARE(colour.customColors(), QStringList({"ColorA=1"}));
}

void StreamTest::survivesTruncatedAndDamagedInput()
{
    FontSettings font = quranFont();
    font.font().setName(QStringLiteral("نازنین's ") + QString(80, QLatin1Char('z')));
    ColorSettings colour(QStringLiteral("Quranc"), 133, 69);
    colour.setColor(ColorValue::rgb(255, 0, 0));
    for (int i = 0; i < ColorSettings::customColorCount; ++i)
        colour.setCustomColor(i, quint32(i * 0x111111));
    const QList<QByteArray> samples = {font.toBytes(), colour.toBytes()};

    // Every prefix either reads or raises Error; only the complete file reads.
    for (const QByteArray &sample : samples) {
        for (qsizetype n = 0; n < sample.size(); ++n) {
            const StreamParser::Result result = StreamParser::parse(sample.left(n));
            QVERIFY2(!result.ok() || n >= sample.size() - 2, qPrintable(QString::number(n)));
        }
    }

    // Damaged copies: bytes replaced, inserted and dropped at random.
    QRandomGenerator random(6);
    static const char chars[] = "'#+-$.=()[]<>{}:,\r\n \0\x80\xff"
                                "09azAZ_";
    const QByteArray alphabet(chars, sizeof chars - 1);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = samples.at(round % 2);
        for (int edits = random.bounded(1, 6); edits > 0; --edits) {
            const int at = random.bounded(int(bytes.size()));
            const char c = alphabet.at(random.bounded(int(alphabet.size())));
            switch (random.bounded(3)) {
            case 0:
                bytes[at] = c;
                break;
            case 1:
                bytes.insert(at, c);
                break;
            default:
                bytes.remove(at, 1);
            }
        }
        FontSettings fontTarget(QStringLiteral("Quran"));
        ColorSettings colourTarget(QStringLiteral("Quranc"));
        readError(fontTarget, bytes);
        readError(colourTarget, bytes);
        // Whatever was read, the object still writes a file that reads back the same.
        FontSettings again(QStringLiteral("x"));
        again.read(fontTarget.toBytes());
        QCOMPARE(again.toBytes(), fontTarget.toBytes());
    }
}

QTEST_MAIN(StreamTest)
#include "tst_settings_stream.moc"
