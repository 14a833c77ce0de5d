// The display settings' files under faults: every damage the reader reports, files cut short,
// files of 100 MB and endless ones, and folders that cannot be written. Each fault is reported with
// its file, the other settings are still restored, and nothing already held, in memory or on disk,
// is lost.

#include "platform/Error.h"
#include "settings/ColorValue.h"
#include "settings/DisplaySettings.h"
#include "settings/SettingsFile.h"
#include "support/ErrorOf.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The five settings saved with values of their own, so that a setting restored can be told
// from one left at its preset.
void saveChosen(const QString &directory)
{
    DisplaySettings chosen(directory);
    chosen.quran().font().setName(QStringLiteral("Quran face"));
    chosen.quran().font().setHeight(-21);
    chosen.book().font().setName(QStringLiteral("Book face"));
    chosen.all().font().setName(QStringLiteral("Window face"));
    chosen.quranc().setColor(ColorValue::rgb(0, 128, 255));
    chosen.bookc().setColor(ColorValue::clBlack);
    for (int i = 0; i < DisplaySettings::settingCount; ++i)
        chosen.save(DisplaySettings::Setting(i));
}

// A file of at most the given size: the header, then the line repeated, then the end.
QByteArray repeated(const QByteArray &header, const QByteArray &line, qsizetype size)
{
    QByteArray bytes;
    bytes.reserve(size + line.size() + 16);
    bytes += header;
    while (bytes.size() + line.size() + 5 <= size)
        bytes += line;
    bytes += "end\r\n";
    return bytes;
}

} // namespace

class SettingsFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void reportsEachDamageAndRestoresTheRest_data();
    void reportsEachDamageAndRestoresTheRest();
    void truncatedFiles();
    void hugeFiles_data();
    void hugeFiles();
    void largestFileReads();
    void unwritableFolder();
    void readOnlyFolderKeepsTheOldFile();
};

void SettingsFaultsTest::reportsEachDamageAndRestoresTheRest_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("error");

    // The Book font file with one damage each; "Tag = 7" comes before the damage.
    const QByteArray head = "object Book: TFontDialog\r\n  Tag = 7\r\n";
    QTest::newRow("object expected")
        << QByteArray("objet Book: TFontDialog\r\nend\r\n") << "object expected on line 1";
    QTest::newRow("identifier expected") << head + "  = 1\r\nend\r\n"
                                         << "Identifier expected on line 3";
    QTest::newRow("number expected") << head + "  Left = -\r\nend\r\n"
                                     << "Number expected on line 3";
    QTest::newRow("bracket expected") << head + "  Font.Style = [fsBold fsItalic]\r\nend\r\n"
                                      << "'']'' expected on line 3";
    QTest::newRow("end expected") << head << "end expected on line 3";
    QTest::newRow("equals expected") << head + "  Left 1\r\nend\r\n"
                                     << "''='' expected on line 3";
    QTest::newRow("invalid string") << head + "  Font.Name = 'Ta\r\nend\r\n"
                                    << "Invalid string constant on line 3";
    QTest::newRow("string expected") << head + "  Font.Name = 'a' + 1\r\nend\r\n"
                                     << "String expected on line 3";
    QTest::newRow("invalid value") << head + "  Left = ;\r\nend\r\n"
                                   << "Invalid property value on line 3";
    QTest::newRow("parenthesis expected") << head + "  X = ('a'\r\n"
                                          << "'')'' expected on line 4";
    QTest::newRow("item expected") << head + "  X = <a>\r\nend\r\n"
                                   << "item expected on line 3";
    QTest::newRow("brace expected") << head + "  X = {0z}\r\nend\r\n"
                                    << "''}'' expected on line 3";
    QTest::newRow("broken token after a value") << head + "  #\r\nend\r\n"
                                                << "Number expected on line 3";
    QTest::newRow("line too long") << head + "  X = '" + QByteArray(5000, 'x') + "'\r\nend\r\n"
                                   << "Line too long on line 3";
    QTest::newRow("unknown property")
        << head + "  Font.Size = 3\r\nend\r\n"
        << "Error reading Book.Font.Size: Property Size does not exist";
    QTest::newRow("invalid path") << head + "  Tag.X = 3\r\nend\r\n"
                                  << "Error reading Book.Tag.X: Invalid property path";
    QTest::newRow("value of wrong type")
        << head + "  Font.Height = 'big'\r\nend\r\n"
        << "Error reading Book.Font.Height: Invalid property value";
    QTest::newRow("binary junk") << head + QByteArray("\x01\x02\xff\xfe\x80", 5) + "\r\nend"
                                 << "Identifier expected on line 3";
}

void SettingsFaultsTest::reportsEachDamageAndRestoresTheRest()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, error);
    QTemporaryDir dir;
    saveChosen(dir.path());
    const QString book = dir.filePath(QStringLiteral("Book"));
    writeFile(book, body);

    DisplaySettings settings(dir.path());
    const DisplaySettings::RestoreResult result = settings.restore();
    QCOMPARE(result.errors, QStringList({QDir::toNativeSeparators(book) + ": " + error}));
    QCOMPARE(result.restored,
             QList<DisplaySettings::Setting>(
                 {DisplaySettings::QuranFont, DisplaySettings::WindowFont,
                  DisplaySettings::QuranBackground, DisplaySettings::BookBackground}));
    QCOMPARE(settings.quran().font().name(), QStringLiteral("Quran face"));
    QCOMPARE(settings.quran().font().height(), -21);
    QCOMPARE(settings.all().font().name(), QStringLiteral("Window face"));
    QCOMPARE(settings.quranc().color(), ColorValue::rgb(0, 128, 255));
    QCOMPARE(settings.bookc().color(), ColorValue::clBlack);

    // The damaged setting keeps its preset face and takes what came before the damage.
    QCOMPARE(settings.book().font().name(), QStringLiteral("Tahoma"));
    if (body.startsWith("object Book"))
        QCOMPARE(settings.book().tag(), 7);

    // Reading never writes: the damaged file is as it was, and the setting can still be saved
    // over it and read back.
    QCOMPARE(fileContent(book), body);
    settings.save(DisplaySettings::BookFont);
    DisplaySettings again(dir.path());
    QVERIFY(again.load(DisplaySettings::BookFont));
    QCOMPARE(again.book().toBytes(), settings.book().toBytes());
}

void SettingsFaultsTest::truncatedFiles()
{
    QTemporaryDir dir;
    saveChosen(dir.path());
    const QString path = dir.filePath(QStringLiteral("QuranColor"));
    DisplaySettings source(dir.path());
    source.quranc().setColor(ColorValue::rgb(1, 2, 3));
    for (int i = 0; i < ColorSettings::customColorCount; ++i)
        source.quranc().setCustomColor(i, quint32(i * 0x0F0F0F));
    source.save(DisplaySettings::QuranBackground);
    const QByteArray whole = fileContent(path);

    // Cut after every byte: the file is either read whole (only the last line end may be
    // missing) or reported, and the other four settings are restored each time.
    for (qsizetype n = 0; n < whole.size(); ++n) {
        writeFile(path, whole.left(n));
        DisplaySettings settings(dir.path());
        const DisplaySettings::RestoreResult result = settings.restore();
        const bool complete = n >= whole.size() - 2;
        QVERIFY2(result.errors.size() == (complete ? 0 : 1), qPrintable(QString::number(n)));
        QCOMPARE(result.restored.size(), complete ? 5 : 4);
        if (!complete) {
            QVERIFY2(result.errors.first().startsWith(QDir::toNativeSeparators(path) + ": "),
                     qPrintable(result.errors.first()));
            QVERIFY2(result.errors.first().contains(QLatin1String(" on line ")),
                     qPrintable(result.errors.first()));
        }
        QCOMPARE(settings.book().font().name(), QStringLiteral("Book face"));
        QCOMPARE(settings.bookc().color(), ColorValue::clBlack);
    }
}

void SettingsFaultsTest::hugeFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const qsizetype size = 100 * 1024 * 1024;
    const QByteArray head = "object Quran: TFontDialog\r\n";
    QTest::newRow("one line") << QByteArray(size, 'a');
    QTest::newRow("binary zeros") << QByteArray(size, '\0');
    QTest::newRow("properties") << repeated(head, "  Font.Height = -12\r\n", size);
    QTest::newRow("text runs") << repeated(head + "  Font.Name = 'a'\r\n", "   + 'bc'\r\n", size);
    QTest::newRow("one byte too many") << repeated(head, "  Tag = 5\r\n", SettingsFile::maxSize)
                                              .leftJustified(SettingsFile::maxSize + 1, ' ');
    // No data: the file is a link to an endless device.
    QTest::newRow("endless") << QByteArray();
}

// 100 MB in the place of a settings file is refused at once, unread, and the other settings
// are restored all the same.
void SettingsFaultsTest::hugeFiles()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    saveChosen(dir.path());
    const QString path = dir.filePath(QStringLiteral("Quran"));
    if (bytes.isEmpty()) {
        QFile::remove(path);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else {
        writeFile(path, bytes);
        bytes.clear();
    }

    QElapsedTimer timer;
    timer.start();
    DisplaySettings settings(dir.path());
    const DisplaySettings::RestoreResult result = settings.restore();
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(result.errors, QStringList({"Cannot open file \"" + QDir::toNativeSeparators(path) +
                                         "\". The file is larger than 1048576 bytes."}));
    QCOMPARE(result.restored.size(), 4);
    QCOMPARE(settings.quran().font().name(), QStringLiteral("Tahoma"));
    QCOMPARE(settings.book().font().name(), QStringLiteral("Book face"));
    QCOMPARE(settings.quranc().color(), ColorValue::rgb(0, 128, 255));
}

// A file of the largest size taken, every line of it a property, reads in seconds.
void SettingsFaultsTest::largestFileReads()
{
    QTemporaryDir dir;
    saveChosen(dir.path());
    const QByteArray bytes =
        repeated("object Quran: TFontDialog\r\n", "  Font.Height = -12\r\n", SettingsFile::maxSize);
    QVERIFY(bytes.size() <= SettingsFile::maxSize);
    writeFile(dir.filePath(QStringLiteral("Quran")), bytes);

    QElapsedTimer timer;
    timer.start();
    DisplaySettings settings(dir.path());
    const DisplaySettings::RestoreResult result = settings.restore();
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(result.errors.isEmpty());
    QCOMPARE(result.restored.size(), 5);
    QCOMPARE(settings.quran().font().height(), -12);
    QCOMPARE(settings.book().font().name(), QStringLiteral("Book face"));
}

// A settings folder that cannot be written: saving reports the file, and what is held in
// memory and in the files already there stays as it was.
void SettingsFaultsTest::unwritableFolder()
{
    QTemporaryDir dir;
    // A file where the folder should be cannot take files, whoever runs the test.
    const QString blocked = dir.filePath(QStringLiteral("settings"));
    writeFile(blocked, "not a folder");
    DisplaySettings settings(blocked);
    settings.quran().font().setName(QStringLiteral("Kept"));
    for (int i = 0; i < DisplaySettings::settingCount; ++i) {
        const DisplaySettings::Setting setting = DisplaySettings::Setting(i);
        const QString error = errorOf([&] { settings.save(setting); });
        QVERIFY2(error.startsWith("Cannot create file \"" +
                                  QDir::toNativeSeparators(settings.filePath(setting)) + "\". "),
                 qPrintable(error));
    }
    QCOMPARE(settings.quran().font().name(), QStringLiteral("Kept"));
    QCOMPARE(fileContent(blocked), QByteArray("not a folder"));
    const DisplaySettings::RestoreResult result = settings.restore();
    QVERIFY(result.errors.isEmpty());
    QVERIFY(result.restored.isEmpty());
    QCOMPARE(settings.quran().font().name(), QStringLiteral("Kept"));

    // A folder in the place of a settings file: saving fails, the folder stays.
    QTemporaryDir other;
    QDir(other.path()).mkdir(QStringLiteral("Book"));
    DisplaySettings shadowed(other.path());
    QVERIFY(errorOf([&] {
                shadowed.save(DisplaySettings::BookFont);
            }).startsWith(QLatin1String("Cannot create file \"")));
    QVERIFY(QFileInfo(other.filePath(QStringLiteral("Book"))).isDir());
}

void SettingsFaultsTest::readOnlyFolderKeepsTheOldFile()
{
    if (geteuid() == 0)
        QSKIP("File permissions do not bind the superuser");
    QTemporaryDir dir;
    saveChosen(dir.path());
    const QString quran = dir.filePath(QStringLiteral("Quran"));
    const QByteArray before = fileContent(quran);
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    DisplaySettings settings(dir.path());
    const DisplaySettings::RestoreResult result = settings.restore();
    QCOMPARE(result.restored.size(), 5);
    settings.quran().font().setName(QStringLiteral("New face"));
    const QString error = errorOf([&] { settings.save(DisplaySettings::QuranFont); });
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY2(error.startsWith("Cannot create file \"" + QDir::toNativeSeparators(quran) + "\". "),
             qPrintable(error));
    QCOMPARE(fileContent(quran), before);
    QCOMPARE(settings.quran().font().name(), QStringLiteral("New face"));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).size() == DisplaySettings::settingCount);
}

QTEST_MAIN(SettingsFaultsTest)
#include "tst_settings_faults.moc"
