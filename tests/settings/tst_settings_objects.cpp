// The settings objects beyond their text: colours, custom colours, fonts, files and the
// independent restore of the five display settings.

#include "platform/Error.h"
#include "settings/ColorSettings.h"
#include "settings/ColorValue.h"
#include "settings/DisplaySettings.h"
#include "settings/FontSettings.h"
#include "settings/SettingsFile.h"
#include "support/ErrorOf.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ObjectsTest : public QObject {
    Q_OBJECT

private slots:
    void blackIsRestored();
    void emptyCustomListLeavesList();
    void customColours();
    void colourValues();
    void fontToAndFromQFont();
    void fileErrors();
    void displaySettingsPresetsAndFiles();
    void restoresEachSettingOnItsOwn();
};

void ObjectsTest::blackIsRestored()
{
    QTemporaryDir dir;
    ColorSettings chosen(QStringLiteral("Quranc"), 133, 69);
    chosen.setColor(ColorValue::clBlack);
    chosen.save(dir.filePath(QStringLiteral("QuranColor")));

    ColorSettings restored(QStringLiteral("Quranc"), 133, 69);
    restored.setColor(ColorValue::clWhite);
    restored.load(dir.filePath(QStringLiteral("QuranColor")));
    QCOMPARE(restored.color(), ColorValue::clBlack);
    QCOMPARE(restored.toBytes(), chosen.toBytes());
}

void ObjectsTest::emptyCustomListLeavesList()
{
    ColorSettings colour(QStringLiteral("Bookc"));
    colour.setCustomColors({QStringLiteral("ColorA=FF")});
    colour.read(ColorSettings(QStringLiteral("Bookc")).toBytes());
    QCOMPARE(colour.customColors(), QStringList({"ColorA=FF"}));

    // A list in the file replaces the whole list, even by an empty one.
    colour.read("object Bookc: TColorDialog CustomColors.Strings = () end");
    QVERIFY(colour.customColors().isEmpty());
}

void ObjectsTest::customColours()
{
    ColorSettings colour(QStringLiteral("Quranc"));
    colour.setCustomColors({"Other=1", "colorc=00ff00", "ColorB=zz", "ColorD=123456789", "ColorE"});
    QCOMPARE(colour.customColor(0), ColorSettings::noColor);
    QCOMPARE(colour.customColor(1), ColorSettings::noColor);
    QCOMPARE(colour.customColor(2), 0xFF00u);
    QCOMPARE(colour.customColor(3), ColorSettings::noColor);
    QCOMPARE(colour.customColor(4), ColorSettings::noColor);
    QCOMPARE(colour.customColor(16), ColorSettings::noColor);
    QCOMPARE(colour.customQColor(2), QColor(0, 255, 0));
    QVERIFY(!colour.customQColor(0).isValid());

    colour.setCustomColor(2, 0xABu);
    colour.setCustomColor(0, ColorSettings::noColor);
    colour.setCustomQColor(5, QColor(0x12, 0x34, 0x56));
    colour.setCustomQColor(6, QColor());
    QCOMPARE(colour.customColors(),
             QStringList({"Other=1", "ColorC=0000AB", "ColorB=zz", "ColorD=123456789", "ColorE",
                          "ColorA=FFFFFFFF", "ColorF=563412", "ColorG=FFFFFFFF"}));
    QCOMPARE(colour.customColor(0), ColorSettings::noColor);
    QCOMPARE(colour.customColor(5), 0x563412u);
}

void ObjectsTest::colourValues()
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Text, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::ToolTipBase, QColor(4, 5, 6));
    QCOMPARE(ColorValue::toQColor(ColorValue::clWindowText, palette), QColor(1, 2, 3));
    QCOMPARE(ColorValue::toQColor(ColorValue::systemColor(24), palette), QColor(4, 5, 6));
    QVERIFY(!ColorValue::toQColor(ColorValue::systemColor(25), palette).isValid());
    QVERIFY(!ColorValue::toQColor(ColorValue::clDefault, palette).isValid());
    QCOMPARE(ColorValue::toQColor(ColorValue::clNone, palette).alpha(), 0);
    QCOMPARE(ColorValue::toQColor(ColorValue::rgb(10, 20, 30), palette), QColor(10, 20, 30));
    QCOMPARE(ColorValue::fromQColor(QColor(10, 20, 30)), 10 + 256 * 20 + 65536 * 30);

    ColorSettings colour(QStringLiteral("Quranc"));
    colour.setFromQColor(QColor(255, 0, 0));
    QCOMPARE(colour.toBytes().split('\n').at(1), QByteArray("  Color = clRed\r"));
}

void ObjectsTest::fontToAndFromQFont()
{
    SettingsFont font;
    font.setHeight(-16);
    font.setStyle(SettingsFont::fsBold | SettingsFont::fsUnderline);
    QFont qfont = font.toQFont();
    QCOMPARE(qfont.family(), QStringLiteral("Tahoma"));
    QCOMPARE(qfont.pixelSize(), 16);
    QVERIFY(qfont.bold());
    QVERIFY(qfont.underline());
    QVERIFY(!qfont.italic());

    // A positive height is the cell height, which holds more than the characters.
    font.setHeight(40);
    QVERIFY(font.toQFont().pixelSize() > 0);
    QVERIFY(font.toQFont().pixelSize() <= 40);

    QFont chosen(QStringLiteral("Nazanin"));
    chosen.setPointSize(12);
    chosen.setWeight(QFont::Medium);
    chosen.setStrikeOut(true);
    font.setCharset(1);
    font.setColor(ColorValue::rgb(255, 0, 0));
    font.setFromQFont(chosen);
    QCOMPARE(font.name(), QStringLiteral("Nazanin"));
    QCOMPARE(font.height(), -16);
    QCOMPARE(font.style(), quint32(SettingsFont::fsBold | SettingsFont::fsStrikeOut));
    QCOMPARE(font.charset(), 1);
    QCOMPARE(font.color(), ColorValue::rgb(255, 0, 0));

    chosen.setWeight(QFont::Normal);
    chosen.setPixelSize(13);
    font.setFromQFont(chosen);
    QCOMPARE(font.height(), -13);
    QCOMPARE(font.style(), quint32(SettingsFont::fsStrikeOut));
}

void ObjectsTest::fileErrors()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none/Quran"));
    FontSettings font(QStringLiteral("Quran"));
    QVERIFY(errorOf([&] {
                font.save(missing);
            }).startsWith("Cannot create file \"" + QDir::toNativeSeparators(missing) + "\". "));
    QVERIFY(errorOf([&] {
                font.load(missing);
            }).startsWith("Cannot open file \"" + QDir::toNativeSeparators(missing) + "\". "));

    // Saving replaces the whole content.
    const QString path = dir.filePath(QStringLiteral("Quran"));
    writeFile(path, QByteArray(1000, 'x'));
    font.save(path);
    QCOMPARE(fileContent(path), font.toBytes());
}

void ObjectsTest::displaySettingsPresetsAndFiles()
{
    QTemporaryDir dir;
    DisplaySettings settings(dir.path());
    QCOMPARE(settings.quran().toBytes(), QByteArray("object Quran: TFontDialog\r\n"
                                                    "  Font.Charset = ARABIC_CHARSET\r\n"
                                                    "  Font.Color = clWindowText\r\n"
                                                    "  Font.Height = -11\r\n"
                                                    "  Font.Name = 'Tahoma'\r\n"
                                                    "  Font.Style = []\r\n"
                                                    "  Left = 165\r\n"
                                                    "  Top = 117\r\n"
                                                    "end\r\n"));
    QCOMPARE(settings.quranc().color(), ColorValue::clWhite);
    const QList<QPair<DisplaySettings::Setting, QByteArray>> expected = {
        {DisplaySettings::QuranFont, "object Quran: TFontDialog"},
        {DisplaySettings::BookFont, "object Book: TFontDialog"},
        {DisplaySettings::WindowFont, "object All: TFontDialog"},
        {DisplaySettings::QuranBackground, "object Quranc: TColorDialog"},
        {DisplaySettings::BookBackground, "object Bookc: TColorDialog"},
    };
    const QStringList fileNames = {"Quran", "Book", "ALL", "QuranColor", "BookColor"};
    for (int i = 0; i < expected.size(); ++i) {
        const DisplaySettings::Setting setting = expected.at(i).first;
        QCOMPARE(DisplaySettings::fileName(setting), fileNames.at(i));
        settings.save(setting);
        const QByteArray content = fileContent(dir.filePath(fileNames.at(i)));
        QVERIFY(content.startsWith(expected.at(i).second + "\r\n"));
        QCOMPARE(content, settings.object(setting).toBytes());
    }
    QCOMPARE(settings.bookc().toBytes(),
             QByteArray("object Bookc: TColorDialog\r\n  Color = clWhite\r\n  Left = 109\r\n"
                        "  Top = 109\r\nend\r\n"));
    QCOMPARE(settings.all().left(), 165);
    QCOMPARE(settings.all().top(), 149);
    QCOMPARE(settings.book().top(), 85);
}

void ObjectsTest::restoresEachSettingOnItsOwn()
{
    QTemporaryDir dir;
    {
        DisplaySettings chosen(dir.path());
        chosen.book().font().setName(QStringLiteral("Book face"));
        chosen.bookc().setColor(ColorValue::clBlack);
        chosen.quranc().setColor(ColorValue::rgb(0, 255, 255));
        chosen.save(DisplaySettings::BookFont);
        chosen.save(DisplaySettings::BookBackground);
        chosen.save(DisplaySettings::QuranBackground);
    }
    // Quran missing, ALL damaged after one property: the others are still restored.
    const QString damaged = dir.filePath(QStringLiteral("ALL"));
    writeFile(damaged,
              "object All: TFontDialog\r\n  Font.Height = -30\r\n  Font.Name = 'x\r\nend\r\n");

    DisplaySettings settings(dir.path());
    const DisplaySettings::RestoreResult result = settings.restore();
    QCOMPARE(result.restored, QList<DisplaySettings::Setting>({DisplaySettings::BookFont,
                                                               DisplaySettings::QuranBackground,
                                                               DisplaySettings::BookBackground}));
    QCOMPARE(result.errors, QStringList({QDir::toNativeSeparators(damaged) +
                                         ": Invalid string constant on line 3"}));
    QCOMPARE(settings.quran().font().name(), QStringLiteral("Tahoma"));
    QCOMPARE(settings.book().font().name(), QStringLiteral("Book face"));
    QCOMPARE(settings.all().font().height(), -30);
    QCOMPARE(settings.quranc().color(), ColorValue::rgb(0, 255, 255));
    QCOMPARE(settings.bookc().color(), ColorValue::clBlack);

    // A file that exists but cannot be opened is reported with its own message.
    QDir(dir.path()).mkdir(QStringLiteral("Quran"));
    const DisplaySettings::RestoreResult again = DisplaySettings(dir.path()).restore();
    QCOMPARE(again.errors.size(), 2);
    QVERIFY2(again.errors.at(0).startsWith("Cannot open file \""), qPrintable(again.errors.at(0)));
    QCOMPARE(again.restored.size(), 3);
}

QTEST_MAIN(ObjectsTest)
#include "tst_settings_objects.moc"
