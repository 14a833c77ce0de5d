#include "doubles/MemoryColorChooser.h"
#include "doubles/MemoryDialogs.h"
#include "doubles/MemoryFontChooser.h"
#include "platform/ConfigLocation.h"
#include "platform/FontChooserDialog.h"
#include "platform/SystemColorChooser.h"
#include "platform/SystemFontChooser.h"
#include "settings/ColorValue.h"
#include "support/ProgramFixture.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace {

const QStringList kFiles = {"Quran", "Book", "ALL", "QuranColor", "BookColor"};

QString configFile(const QString &name)
{
    return ConfigLocation::filePath(name);
}

QByteArray fileBytes(const QString &name)
{
    QFile file(configFile(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(configFile(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray lines(const QStringList &lines)
{
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QColor textColor(const QWidget *widget)
{
    return widget->palette().color(QPalette::Text);
}

QColor background(const QWidget *widget)
{
    return widget->palette().color(QPalette::Base);
}

// What a reader sees of a control's font.
QString fontOf(const QWidget *widget)
{
    const QFont font = widget->font();
    return QStringLiteral("%1 %2px%3%4")
        .arg(font.family())
        .arg(font.pixelSize() > 0 ? font.pixelSize() : qRound(font.pointSizeF() * 96 / 72))
        .arg(font.bold() ? QStringLiteral(" bold") : QString())
        .arg(font.italic() ? QStringLiteral(" italic") : QString());
}

} // namespace

// The display settings page: the five buttons, what they store and apply, and the restoring
// of the stored settings at start, against the real text database.
class tst_DisplaySettings : public QObject {
    Q_OBJECT

    std::unique_ptr<MemoryDialogs> dialogs;
    std::unique_ptr<MemoryFontChooser> fonts;
    std::unique_ptr<MemoryColorChooser> colors;
    std::unique_ptr<ProgramFixture> program;
    DisplaySettingsPage *page = nullptr;
    QuranPage *quran = nullptr;
    NahjPage *nahj = nullptr;

    bool start()
    {
        program = std::make_unique<ProgramFixture>();
        if (!program->started())
            return false;
        page = program->window()->TabSheet5.get();
        quran = program->window()->TabSheet1.get();
        nahj = program->window()->TabSheet2.get();
        return true;
    }

    void restart()
    {
        program.reset();
        QVERIFY(start());
    }

    QList<QWidget *> quranControls() const
    {
        return {quran->DBMemo1, quran->DBMemo2, quran->DbAltGrid3};
    }
    QList<QWidget *> nahjControls() const { return {nahj->DBMemo3, nahj->DBMemo4}; }

    static void setFont(FontChooser::Answer &answer, const QString &face, int height)
    {
        answer.font.face = face;
        answer.font.height = height;
    }

private slots:
    void init()
    {
        for (const QString &name : kFiles) {
            QFile::remove(configFile(name));
            QDir(configFile(name)).removeRecursively();
        }
        dialogs = std::make_unique<MemoryDialogs>();
        fonts = std::make_unique<MemoryFontChooser>();
        colors = std::make_unique<MemoryColorChooser>();
    }
    void cleanup()
    {
        program.reset();
        colors.reset();
        fonts.reset();
        dialogs.reset();
    }

    void layout()
    {
        QVERIFY(start());
        QCOMPARE(page->objectName(), QStringLiteral("TabSheet5"));
        QCOMPARE(page->FontFrame->title(), QString::fromUtf8("فونت"));
        QCOMPARE(page->FontFrame->geometry(), QRect(264, 40, 361, 161));
        QCOMPARE(page->ColorFrame->title(), QString::fromUtf8("رنگ"));
        QCOMPARE(page->ColorFrame->geometry(), QRect(264, 256, 361, 105));
        const QList<std::tuple<QPushButton *, QGroupBox *, const char *, QRect>> buttons = {
            {page->QuranFontButton, page->FontFrame, "قران", QRect(134, 24, 115, 25)},
            {page->BookFontButton, page->FontFrame, "نهج البلاغه", QRect(134, 64, 115, 25)},
            {page->WindowFontButton, page->FontFrame, " کليدهاي برنامه", QRect(136, 104, 113, 25)},
            {page->QuranColorButton, page->ColorFrame, " زمينه قران", QRect(128, 24, 113, 25)},
            {page->BookColorButton, page->ColorFrame, " زمينه نهج البلاغه",
             QRect(126, 64, 115, 25)},
        };
        for (const auto &[button, frame, caption, geometry] : buttons) {
            QCOMPARE(button->parentWidget(), frame);
            QCOMPARE(button->text(), QString::fromUtf8(caption));
            QCOMPARE(button->geometry(), geometry);
        }

        // Enter on the page presses the Quran font button, unless another button has the focus.
        program->window()->setActivePage(page);
        program->window()->show();
        QVERIFY(QTest::qWaitForWindowActive(program->window()));
        fonts->setCancel(true);
        page->setFocus();
        QTest::keyClick(page, Qt::Key_Return);
        QCOMPARE(fonts->presets().size(), 1);
        page->QuranColorButton->setFocus();
        QTest::keyClick(page->QuranColorButton, Qt::Key_Return);
        QCOMPARE(fonts->presets().size(), 1);
        QCOMPARE(colors->presets().size(), 1);
    }

    void cancelChangesNothing()
    {
        QVERIFY(start());
        fonts->setCancel(true);
        fonts->setEdit([](FontChooser::Answer &answer) { answer.font.face = "DejaVu Serif"; });
        colors->setCancel(true);
        colors->setEdit([](QColor &color, QList<QColor> &) { color = Qt::red; });
        const QString quranFont = fontOf(quran->DBMemo1);
        const QString windowFont = fontOf(program->window());
        const QByteArray quranObject = page->settings().quran().toBytes();
        for (QPushButton *button : page->findChildren<QPushButton *>())
            button->click();
        QCOMPARE(fonts->presets().size(), 3);
        QCOMPARE(colors->presets().size(), 2);
        for (const QString &name : kFiles)
            QVERIFY2(!QFile::exists(configFile(name)), qPrintable(name));
        QCOMPARE(fontOf(quran->DBMemo1), quranFont);
        QCOMPARE(fontOf(program->window()), windowFont);
        QCOMPARE(background(quran->DBMemo1), QColor(Qt::white));
        QCOMPARE(page->settings().quran().toBytes(), quranObject);
        QVERIFY(dialogs->shown().isEmpty());
    }

    void quranFont()
    {
        QVERIFY(start());
        const QString titleFont = fontOf(quran->DbAltGrid3->horizontalHeader());
        const QString nahjFont = fontOf(nahj->DBMemo4);
        fonts->setEdit([](FontChooser::Answer &answer) {
            setFont(answer, "DejaVu Sans", -16);
            answer.font.weight = 700;
            answer.font.italic = true;
            answer.font.color = Qt::red;
            answer.colorChanged = true;
        });
        page->QuranFontButton->click();

        // The chooser starts from the window's designed font.
        const FontChooser::Font preset = fonts->presets().value(0);
        QCOMPARE(preset.face, QStringLiteral("Tahoma"));
        QCOMPARE(preset.height, -11);
        QCOMPARE(preset.weight, 400);
        QCOMPARE(preset.charset, 178);
        QCOMPARE(preset.color, QApplication::palette().color(QPalette::WindowText));

        QCOMPARE(
            fileBytes("Quran"),
            lines({"object Quran: TFontDialog", "  Font.Charset = ARABIC_CHARSET",
                   "  Font.Color = clRed", "  Font.Height = -16", "  Font.Name = 'DejaVu Sans'",
                   "  Font.Style = [fsBold, fsItalic]", "  Left = 165", "  Top = 117", "end"}));
        for (QWidget *control : quranControls()) {
            QCOMPARE(fontOf(control), QStringLiteral("DejaVu Sans 16px bold italic"));
            QCOMPARE(textColor(control), QColor(Qt::red));
        }
        QCOMPARE(fontOf(quran->DbAltGrid3->horizontalHeader()), titleFont);
        QCOMPARE(fontOf(nahj->DBMemo4), nahjFont);
        QCOMPARE(quran->TrackBar3->value(), 8);
        QCOMPARE(quran->DbAltGrid3->verticalHeader()->defaultSectionSize(),
                 VerseGrid::rowHeightFor(quran->DbAltGrid3->font()));

        // The next choice starts from the last one.
        fonts->setCancel(true);
        page->QuranFontButton->click();
        QCOMPARE(fonts->presets().value(1).face, QStringLiteral("DejaVu Sans"));
        QCOMPARE(fonts->presets().value(1).color, QColor(Qt::red));
        QVERIFY(fonts->presets().value(1).italic);
    }

    void confirmingUnchangedStillStoresAndApplies()
    {
        QVERIFY(start());
        page->BookFontButton->click();
        QCOMPARE(
            fileBytes("Book"),
            lines({"object Book: TFontDialog", "  Font.Charset = ARABIC_CHARSET",
                   "  Font.Color = clWindowText", "  Font.Height = -11", "  Font.Name = 'Tahoma'",
                   "  Font.Style = []", "  Left = 165", "  Top = 85", "end"}));
        for (QWidget *control : nahjControls())
            QCOMPARE(fontOf(control), QStringLiteral("Tahoma 11px"));
        QCOMPARE(nahj->TrackBar1->value(), 8);

        page->BookColorButton->click();
        QCOMPARE(fileBytes("BookColor"), lines({"object Bookc: TColorDialog",
                                                "  Color = clWhite",
                                                "  CustomColors.Strings = (",
                                                "    'ColorA=FFFFFFFF'",
                                                "    'ColorB=FFFFFFFF'",
                                                "    'ColorC=FFFFFFFF'",
                                                "    'ColorD=FFFFFFFF'",
                                                "    'ColorE=FFFFFFFF'",
                                                "    'ColorF=FFFFFFFF'",
                                                "    'ColorG=FFFFFFFF'",
                                                "    'ColorH=FFFFFFFF'",
                                                "    'ColorI=FFFFFFFF'",
                                                "    'ColorJ=FFFFFFFF'",
                                                "    'ColorK=FFFFFFFF'",
                                                "    'ColorL=FFFFFFFF'",
                                                "    'ColorM=FFFFFFFF'",
                                                "    'ColorN=FFFFFFFF'",
                                                "    'ColorO=FFFFFFFF'",
                                                "    'ColorP=FFFFFFFF')",
                                                "  Left = 109",
                                                "  Top = 109",
                                                "end"}));
    }

    // The colour and the character set are taken from the chooser only when chosen there.
    void fontAnswerRules_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<bool>("colorChanged");
        QTest::addColumn<bool>("scriptChanged");
        QTest::addColumn<int>("charset");
        QTest::addColumn<qint32>("color");
        QTest::newRow("nothing changed")
            << "Tahoma" << false << false << 178 << ColorValue::clWindowText;
        QTest::newRow("face in other case")
            << "TAHOMA" << false << false << 178 << ColorValue::clWindowText;
        QTest::newRow("other face") << "Arial" << false << false << 0 << ColorValue::clWindowText;
        QTest::newRow("script changed")
            << "Tahoma" << false << true << 0 << ColorValue::clWindowText;
        QTest::newRow("colour changed")
            << "Tahoma" << true << false << 178 << ColorValue::rgb(0, 0, 128);
    }
    void fontAnswerRules()
    {
        QFETCH(QString, face);
        QFETCH(bool, colorChanged);
        QFETCH(bool, scriptChanged);
        SettingsFont font;
        FontChooser::Answer answer;
        answer.font = DisplaySettingsPage::chooserFont(font);
        answer.font.face = face;
        answer.font.height = -13;
        answer.font.weight = 401;
        answer.font.underline = true;
        answer.font.strikeOut = true;
        answer.font.charset = 0;
        answer.font.color = QColor(0, 0, 128);
        answer.colorChanged = colorChanged;
        answer.scriptChanged = scriptChanged;
        DisplaySettingsPage::takeAnswer(font, answer);
        QCOMPARE(font.name(), face);
        QCOMPARE(font.height(), -13);
        QCOMPARE(font.style(), quint32(SettingsFont::fsBold | SettingsFont::fsUnderline |
                                       SettingsFont::fsStrikeOut));
        QTEST(font.charset(), "charset");
        QTEST(font.color(), "color");

        // A regular weight is not bold.
        answer.font.weight = 400;
        DisplaySettingsPage::takeAnswer(font, answer);
        QVERIFY(!font.hasStyle(SettingsFont::fsBold));
    }

    void backgroundColours()
    {
        QVERIFY(start());
        // Custom colours come from the entries "ColorA" to "ColorP", wherever they stand.
        page->settings().quranc().setCustomColors({"Other=1", "ColorC=0000FF", "colorA=00ff00"});
        colors->setEdit([](QColor &color, QList<QColor> &custom) {
            color = QColor(0, 255, 255);
            custom[0] = QColor(0x12, 0x34, 0x56);
            custom[3] = Qt::blue;
        });
        page->QuranColorButton->click();
        const MemoryColorChooser::Preset preset = colors->presets().value(0);
        QCOMPARE(preset.color, QColor(Qt::white));
        QCOMPARE(preset.customColors.size(), 16);
        QCOMPARE(preset.customColors.at(0), QColor(0, 255, 0));
        QCOMPARE(preset.customColors.at(2), QColor(255, 0, 0));
        QVERIFY(!preset.customColors.at(1).isValid());

        QStringList expected = {"object Quranc: TColorDialog", "  Color = clAqua",
                                "  CustomColors.Strings = (",  "    'Other=1'",
                                "    'ColorC=0000FF'",         "    'ColorA=563412'",
                                "    'ColorB=FFFFFFFF'",       "    'ColorD=FF0000'"};
        for (char letter = 'E'; letter <= 'P'; ++letter)
            expected << QStringLiteral("    'Color%1=FFFFFFFF'").arg(QLatin1Char(letter));
        expected.last() += QLatin1Char(')');
        expected << "  Left = 133"
                 << "  Top = 69"
                 << "end";
        QCOMPARE(fileBytes("QuranColor"), lines(expected));
        for (QWidget *control : quranControls())
            QCOMPARE(background(control), QColor(0, 255, 255));
        for (QWidget *control : nahjControls())
            QCOMPARE(background(control), QColor(Qt::white));

        // A system colour is offered as its present value.
        page->settings().bookc().setColor(ColorValue::systemColor(13)); // highlight
        colors->setCancel(true);
        page->BookColorButton->click();
        QCOMPARE(colors->presets().value(1).color,
                 QApplication::palette().color(QPalette::Highlight));
    }

    void blackBackgroundSurvivesRestart()
    {
        QVERIFY(start());
        colors->setEdit([](QColor &color, QList<QColor> &) { color = Qt::black; });
        page->BookColorButton->click();
        QVERIFY(!fileBytes("BookColor").contains("Color ="));
        for (QWidget *control : nahjControls())
            QCOMPARE(background(control), QColor(Qt::black));
        restart();
        for (QWidget *control : nahjControls())
            QCOMPARE(background(control), QColor(Qt::black));
        QCOMPARE(page->settings().bookc().color(), ColorValue::clBlack);
        QVERIFY(dialogs->shown().isEmpty());
    }

    void windowFontReachesControlsWithoutFontOfTheirOwn()
    {
        QVERIFY(start());
        const QString suraListFont = fontOf(quran->ListBox5);
        const QString nahjFont = fontOf(nahj->DBMemo4);
        const QColor nahjText = textColor(nahj->DBMemo4);
        fonts->setEdit([](FontChooser::Answer &answer) {
            setFont(answer, "DejaVu Serif", -14);
            answer.font.color = QColor(0, 128, 0);
            answer.colorChanged = true;
        });
        page->WindowFontButton->click();
        QCOMPARE(fontOf(program->window()), QStringLiteral("DejaVu Serif 14px"));
        for (QWidget *control : quranControls())
            QCOMPARE(fontOf(control), QStringLiteral("DejaVu Serif 14px"));
        QCOMPARE(fontOf(quran->DBText2), QStringLiteral("DejaVu Serif 14px"));
        QCOMPARE(fontOf(page->QuranFontButton), QStringLiteral("DejaVu Serif 14px"));
        QCOMPARE(quran->DBText2->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        QCOMPARE(textColor(quran->DBMemo1), QColor(0, 128, 0));
        QCOMPARE(quran->DbAltGrid3->verticalHeader()->defaultSectionSize(),
                 VerseGrid::rowHeightFor(quran->DbAltGrid3->font()));
        // The sura list and the Nahj panes keep their own font, and its colour.
        QCOMPARE(fontOf(quran->ListBox5), suraListFont);
        QCOMPARE(fontOf(nahj->DBMemo4), nahjFont);
        QCOMPARE(textColor(nahj->DBMemo4), nahjText);

        // A size from the font size bar gives the Quran panes a font of their own.
        quran->TrackBar3->setValue(9);
        fonts->setEdit([](FontChooser::Answer &answer) { setFont(answer, "DejaVu Sans", -20); });
        page->WindowFontButton->click();
        QCOMPARE(fontOf(program->window()), QStringLiteral("DejaVu Sans 20px"));
        QCOMPARE(fontOf(quran->DBMemo1), QStringLiteral("DejaVu Serif 12px"));
        QCOMPARE(textColor(quran->DBMemo1), QColor(0, 128, 0));
    }

    void windowFontDoesNotReachQuranFont()
    {
        QVERIFY(start());
        fonts->setEdit([](FontChooser::Answer &answer) { setFont(answer, "DejaVu Sans", -18); });
        page->QuranFontButton->click();
        fonts->setEdit([](FontChooser::Answer &answer) {
            setFont(answer, "DejaVu Serif", -15);
            answer.font.color = Qt::blue;
            answer.colorChanged = true;
        });
        page->WindowFontButton->click();
        QCOMPARE(fontOf(quran->DBText2), QStringLiteral("DejaVu Serif 15px"));
        for (QWidget *control : quranControls()) {
            QCOMPARE(fontOf(control), QStringLiteral("DejaVu Sans 18px"));
            QCOMPARE(textColor(control), QApplication::palette().color(QPalette::WindowText));
        }
        QCOMPARE(fileBytes("ALL").left(25), QByteArray("object All: TFontDialog\r\n"));
    }

    void storedSettingsRestoredAtStart()
    {
        {
            DisplaySettings stored;
            stored.quran().font().setName(QStringLiteral("DejaVu Sans"));
            stored.quran().font().setHeight(-20);
            stored.book().font().setName(QStringLiteral("DejaVu Serif"));
            stored.book().font().setStyle(SettingsFont::fsBold);
            stored.book().font().setColor(ColorValue::rgb(128, 0, 0));
            stored.all().font().setHeight(-13);
            stored.quranc().setColor(ColorValue::rgb(255, 255, 0));
            stored.bookc().setColor(ColorValue::rgb(192, 192, 192));
            for (int i = 0; i < DisplaySettings::settingCount; ++i)
                stored.save(DisplaySettings::Setting(i));
        }
        QVERIFY(start());
        QVERIFY(dialogs->shown().isEmpty());
        for (QWidget *control : quranControls()) {
            QCOMPARE(fontOf(control), QStringLiteral("DejaVu Sans 20px"));
            QCOMPARE(background(control), QColor(255, 255, 0));
        }
        for (QWidget *control : nahjControls()) {
            QCOMPARE(fontOf(control), QStringLiteral("DejaVu Serif 11px bold"));
            QCOMPARE(textColor(control), QColor(128, 0, 0));
            QCOMPARE(background(control), QColor(192, 192, 192));
        }
        QCOMPARE(fontOf(program->window()), QStringLiteral("Tahoma 13px"));
        QCOMPARE(fontOf(quran->DBText2), QStringLiteral("Tahoma 13px"));
        // The size bars are not moved by a restored font.
        QCOMPARE(quran->TrackBar3->value(), 8);
        QCOMPARE(nahj->TrackBar1->value(), 8);
        quran->TrackBar3->setValue(9);
        QCOMPARE(fontOf(quran->DBMemo1), QStringLiteral("DejaVu Sans 12px"));
    }

    void damagedFileSkipsOnlyItsOwnSetting()
    {
        // No Quran file, a damaged Book file; the files after them are still restored.
        writeFile("Book", "object Book: TFontDialog\r\n  Font.Height = -30\r\n"
                          "  Font.Name = 'x\r\nend\r\n");
        {
            DisplaySettings stored;
            stored.all().font().setHeight(-15);
            stored.quranc().setColor(ColorValue::rgb(0, 255, 0));
            stored.bookc().setColor(ColorValue::rgb(0, 0, 255));
            stored.save(DisplaySettings::WindowFont);
            stored.save(DisplaySettings::QuranBackground);
            stored.save(DisplaySettings::BookBackground);
        }
        QVERIFY(start());
        QCOMPARE(dialogs->shown().size(), 1);
        QCOMPARE(dialogs->shown().at(0).kind, Dialogs::Kind::Error);
        QCOMPARE(dialogs->shown().at(0).text, QDir::toNativeSeparators(configFile("Book")) +
                                                  ": Invalid string constant on line 3.");
        for (QWidget *control : nahjControls()) {
            QCOMPARE(fontOf(control), QStringLiteral("Tahoma 11px"));
            QCOMPARE(background(control), QColor(0, 0, 255));
        }
        QCOMPARE(fontOf(program->window()), QStringLiteral("Tahoma 15px"));
        QCOMPARE(fontOf(quran->DBMemo1), QStringLiteral("Tahoma 15px"));
        QCOMPARE(background(quran->DBMemo1), QColor(0, 255, 0));

        // What was read before the fault is where the Book chooser starts.
        fonts->setCancel(true);
        page->BookFontButton->click();
        QCOMPARE(fonts->presets().value(0).height, -30);
        QCOMPARE(fonts->presets().value(0).face, QStringLiteral("Tahoma"));
    }

    void unwritableFileIsReported()
    {
        QVERIFY(start());
        QVERIFY(QDir().mkpath(configFile("Quran")));
        fonts->setEdit([](FontChooser::Answer &answer) { setFont(answer, "DejaVu Sans", -18); });
        const QString before = fontOf(quran->DBMemo1);
        page->QuranFontButton->click();
        QCOMPARE(dialogs->shown().size(), 1);
        QVERIFY2(dialogs->shown().at(0).text.startsWith("Cannot create file \""),
                 qPrintable(dialogs->shown().at(0).text));
        // The object holds the choice, the controls do not show it.
        QCOMPARE(page->settings().quran().font().name(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(fontOf(quran->DBMemo1), before);
    }

    // The toolkit's choosers, driven as a reader would.
    void fontChooserDialog()
    {
        FontChooser::Font preset;
        preset.face = QStringLiteral("DejaVu Sans");
        preset.height = -13;
        preset.weight = 700;
        preset.underline = true;
        preset.charset = 178;
        preset.color = QColor(128, 0, 0);
        FontChooserDialog dialog(preset);
        QCOMPARE(dialog.faceEdit->text(), preset.face);
        QCOMPARE(dialog.faceList->currentItem()->text(), preset.face);
        QCOMPARE(dialog.sizeBox->currentText(), QStringLiteral("10"));
        QCOMPARE(dialog.styleList->currentRow(), 2);
        QVERIFY(dialog.underlineBox->isChecked());
        QVERIFY(!dialog.strikeOutBox->isChecked());
        QCOMPARE(dialog.colorBox->currentText(), QStringLiteral("Maroon"));
        QCOMPARE(dialog.scriptBox->currentData().toInt(), 178);
        // The sample is in the script chosen.
        QCOMPARE(dialog.sampleLabel->text(),
                 QFontDatabase::writingSystemSample(QFontDatabase::Arabic));
        QVERIFY(dialog.sampleFont().bold());

        // Confirmed untouched: the preset exactly, nothing marked as changed.
        FontChooser::Answer answer = dialog.answer();
        QCOMPARE(answer.font.face, preset.face);
        QCOMPARE(answer.font.height, -13);
        QCOMPARE(answer.font.weight, 700);
        QVERIFY(answer.font.underline && !answer.font.italic && !answer.font.strikeOut);
        QCOMPARE(answer.font.color, preset.color);
        QVERIFY(!answer.colorChanged && !answer.scriptChanged);

        dialog.sizeBox->setCurrentText(QStringLiteral("12"));
        dialog.styleList->setCurrentRow(1);
        dialog.strikeOutBox->setChecked(true);
        dialog.colorBox->setFocus();
        QTest::keyClick(dialog.colorBox, Qt::Key_Down);
        dialog.scriptBox->setFocus();
        QTest::keyClick(dialog.scriptBox, Qt::Key_Up);
        answer = dialog.answer();
        QCOMPARE(answer.font.height, -16);
        QCOMPARE(answer.font.weight, 400);
        QVERIFY(answer.font.italic && answer.font.strikeOut);
        QCOMPARE(answer.font.color, QColor(0, 128, 0));
        QVERIFY(answer.colorChanged && answer.scriptChanged);
        QCOMPARE(answer.font.charset, 0);

        // A face chosen from the list; a face the platform does not know is kept as typed.
        dialog.faceList->setCurrentItem(
            dialog.faceList->findItems(QStringLiteral("DejaVu Serif"), Qt::MatchExactly).value(0));
        QCOMPARE(dialog.answer().font.face, QStringLiteral("DejaVu Serif"));
        FontChooser::Font unknown;
        unknown.face = QStringLiteral("Tahoma");
        unknown.height = 14;
        const FontChooser::Answer kept = FontChooserDialog(unknown).answer();
        QCOMPARE(kept.font.face, QStringLiteral("Tahoma"));
        QCOMPARE(kept.font.height, 14);
    }

    void toolkitChoosers()
    {
        // The font chooser answers what its dialog shows; cancelling answers nothing.
        SystemFontChooser fontChooser;
        FontChooser::Font preset;
        preset.face = QStringLiteral("DejaVu Sans");
        FontChooser::Answer answer;
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<FontChooserDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->underlineBox->setChecked(true);
            dialog->accept();
        });
        QVERIFY(fontChooser.choose(nullptr, preset, &answer));
        QVERIFY(answer.font.underline);
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        answer = {};
        QVERIFY(!fontChooser.choose(nullptr, preset, &answer));
        QVERIFY(!answer.font.underline);

        // Empty custom colours stay empty unless the reader fills them.
        SystemColorChooser colorChooser;
        QColor color = Qt::white;
        QList<QColor> custom(16);
        custom[1] = QColor(1, 2, 3);
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->currentColor(), QColor(Qt::white));
            QCOMPARE(QColorDialog::customColor(1), QColor(1, 2, 3));
            QColorDialog::setCustomColor(2, QColor(4, 5, 6));
            dialog->setCurrentColor(QColor(10, 20, 30));
            dialog->accept();
        });
        QVERIFY(colorChooser.choose(nullptr, &color, &custom));
        QCOMPARE(color, QColor(10, 20, 30));
        QCOMPARE(custom.size(), 16);
        QVERIFY(!custom.at(0).isValid());
        QCOMPARE(custom.at(1), QColor(1, 2, 3));
        QCOMPARE(custom.at(2), QColor(4, 5, 6));
        QVERIFY(!custom.at(15).isValid());
    }

    void render()
    {
        QVERIFY(start());
        program->window()->resize(799, 570);
        program->window()->setActivePage(page);
        program->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(program->window()));
        const QString dir = QStringLiteral(KEVRAN_SCREENSHOT_DIR);
        QDir().mkpath(dir);
        QVERIFY(program->window()->grab().save(QDir(dir).filePath("main-displaysettings.png")));
        FontChooser::Font preset;
        preset.face = QStringLiteral("Tahoma");
        preset.charset = 178;
        FontChooserDialog dialog(preset);
        dialog.resize(560, 420);
        QVERIFY(dialog.grab().save(QDir(dir).filePath("font-chooser.png")));
    }
};

QTEST_MAIN(tst_DisplaySettings)
#include "tst_displaysettings.moc"
