#include "app/Program.h"
#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Translations.h"
#include "doubles/MemoryClipboard.h"
#include "doubles/MemoryDialogs.h"
#include "platform/ConfigLocation.h"
#include "platform/Error.h"
#include "settings/TranslationSetting.h"
#include "support/FixtureDatabase.h"
#include "support/ProgramFixture.h"
#include "ui/main/AboutPage.h"
#include "ui/main/DataGrid.h"
#include "ui/main/PaneMenu.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"
#include "ui/search/SearchPage.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTreeWidget>
#include <memory>
#include <sqlite3.h>

namespace {

const QString kDatabase = QStringLiteral(KEVRAN_TEST_DATABASE);

// One value of the real text database.
QString lookUp(const QString &database, const QByteArray &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(database.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    QString value;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

// A verse's text in one translation, by the verse's number in the whole Quran.
QString translated(const char *code, int id)
{
    return lookUp(kDatabase, QByteArray("SELECT Text FROM TranslationText WHERE Code = '") + code +
                                 "' AND id1 = " + QByteArray::number(id));
}

void storeChoice(const QByteArray &content)
{
    QFile file(ConfigLocation::filePath(TranslationSetting::FileName));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray storedChoice()
{
    QFile file(ConfigLocation::filePath(TranslationSetting::FileName));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

} // namespace

// The reader's choice of Persian translation, and the copy commands that carry references.
class tst_Translations : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    static DisplaySettingsPage *settings() { return kevran::main->TabSheet5.get(); }
    static QuranPage *quran() { return kevran::main->TabSheet1.get(); }

    static void choose(const QString &code)
    {
        QComboBox *box = settings()->TranslationBox;
        const int index = box->findData(code);
        QVERIFY2(index >= 0, qPrintable(code));
        box->setCurrentIndex(index);
    }

    static void selectRows(const QList<int> &rows)
    {
        VerseGrid *grid = quran()->DbAltGrid3;
        grid->clearSelection();
        for (const int row : rows)
            grid->selectionModel()->select(grid->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(grid->selectedRows().size(), rows.size());
    }

    // A copy of the real database changed by statements.
    QString changedDatabase(const QString &name, const QString &sql)
    {
        const QString path = m_dir.filePath(name);
        QFile::remove(path);
        QFile::copy(kDatabase, path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        FixtureDatabase::exec(path, sql);
        return path;
    }

private slots:
    void init() { QFile::remove(ConfigLocation::filePath(TranslationSetting::FileName)); }

    void listsTheTranslationsWithTheDefaultFirst()
    {
        ProgramFixture program;
        QVERIFY(program.started());
        QGroupBox *frame = settings()->TranslationFrame;
        QCOMPARE(frame->title(), QString::fromUtf8("ترجمه قرآن"));
        QCOMPARE(settings()->TranslationBox->parentWidget(), frame);
        QCOMPARE(settings()->TranslationBox->objectName(), QStringLiteral("TranslationBox"));
        // Filled when the page is first shown.
        kevran::main->show();
        kevran::main->setActivePage(settings());
        QTRY_COMPARE(settings()->TranslationBox->count(), 6);
        // The cut translation is left out of the database.
        const QStringList names = {
            "مکارم شیرازی", "انصاریان", "آیتی", "فولادوند", "الهی قمشه‌ای", "خرمشاهی"};
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(settings()->TranslationBox->itemText(i), names[i]);
        QCOMPARE(settings()->TranslationBox->currentIndex(), 0);
        QVERIFY(settings()->TranslationBox->isEnabled());
        // The drop-down list reads right to left: each name ends at the list's right edge.
        QComboBox *box = settings()->TranslationBox;
        box->showPopup();
        QAbstractItemView *list = box->view();
        QTRY_VERIFY(list->isVisible());
        const QRect item = list->visualRect(list->model()->index(3, 0));
        const QImage drawn = list->viewport()->grab(item).toImage();
        int left = drawn.width(), right = -1;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (qGray(drawn.pixel(x, y)) < 100 ||
                    qGray(drawn.pixel(x, y)) > qGray(drawn.pixel(0, 0)) + 100) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        QVERIFY2(
            right > drawn.width() - 40 && left > drawn.width() / 3,
            qPrintable(
                QStringLiteral("ink from %1 to %2 of %3").arg(left).arg(right).arg(drawn.width())));
        box->hidePopup();
        // Nobody chose: nothing is stored and the verses read as ever.
        QCOMPARE(storedChoice(), QByteArray("(none)"));
        QCOMPARE(program.verses()->fieldText(QStringLiteral("English")),
                 translated("fa.makarem", 1));
    }

    // Every reader of `English` follows a switch at once; the current row stays.
    void switchingReachesEveryScope()
    {
        MemoryDialogs dialogs;
        MemoryClipboard clipboard;
        ProgramFixture program;
        QVERIFY(program.started());
        DataSet *verses = program.verses();
        settings()->loadTranslations();

        // Sura 4 in the grid, verse 125 current (verse 618 of the Quran).
        quran()->ListBox5->setCurrentRow(3);
        verses->gotoBookmark(124);
        quran()->CheckBox1->setChecked(true);
        quran()->CheckBox1Click();
        const int id = 493 + 125;
        QCOMPARE(quran()->DBMemo2->toPlainText(), translated("fa.makarem", id));

        // A search on the search page already shown keeps its rows and text.
        SearchPage *search = kevran::main->TabSheet3.get();
        search->s4->click();
        search->b1->setChecked(false);
        search->Edit2->setText(QString::fromUtf8("ابراهیم"));
        search->BitBtn5->click();
        const QString searchedText = search->DBRichEdit1->toPlainText();
        const int searchedRows = search->DbAltGrid4->model()->rowCount();
        QVERIFY(searchedRows > 0);

        choose(QStringLiteral("fa.ansarian"));
        const QString ansarian = translated("fa.ansarian", id);
        QVERIFY(ansarian != translated("fa.makarem", id));
        QCOMPARE(verses->currentRow(), 124);
        QCOMPARE(verses->recordCount(), 176);
        QCOMPARE(quran()->DBMemo2->toPlainText(), ansarian);
        QCOMPARE(quran()->DBText3->text(), QStringLiteral("125"));
        const QAbstractItemModel *grid = quran()->DbAltGrid3->model();
        int englishColumn = -1;
        for (int c = 0; c < grid->columnCount(); ++c) {
            if (grid->headerData(c, Qt::Horizontal).toString() == QString::fromUtf8("ترجمه"))
                englishColumn = c;
        }
        QVERIFY(englishColumn >= 0);
        QCOMPARE(grid->data(grid->index(124, englishColumn)).toString(), ansarian);
        QCOMPARE(grid->data(grid->index(0, englishColumn)).toString(),
                 translated("fa.ansarian", 494));
        QCOMPARE(kevran::main->TabSheet4.get()->DBMemo5->toPlainText(), ansarian);
        QCOMPARE(search->DbAltGrid4->model()->rowCount(), searchedRows);
        QCOMPARE(search->DBRichEdit1->toPlainText(), searchedText);
        QCOMPARE(storedChoice(), QByteArray("fa.ansarian\n"));
        QVERIFY(kevran::main->TabSheet6.get()->aboutLines().contains(
            QString::fromUtf8("ترجمه قرآن توسط استاد حسين انصاريان")));

        // The copy commands copy the chosen translation.
        selectRows({124});
        quran()->MoreComent1->trigger();
        QCOMPARE(clipboard.text(), ansarian + '\n');

        // The quick search's translation scope searches the chosen translation: a phrase of
        // Ansarian's 1:2 that Makarem's lacks.
        const QString phrase = QString::fromUtf8("مالک و مربّی جهانیان");
        QVERIFY(translated("fa.ansarian", 2).contains(phrase));
        QVERIFY(!translated("fa.makarem", 2).contains(phrase));
        quran()->fa->setChecked(true);
        quran()->Edit1->setText(phrase);
        quran()->BitBtn6->click();
        QVERIFY(verses->recordCount() >= 1);
        QCOMPARE(verses->fieldText(QStringLiteral("id1")), QStringLiteral("2"));

        // So does the search page's next search.
        search->Edit2->setText(phrase);
        search->BitBtn5->click();
        QVERIFY(search->DbAltGrid4->model()->rowCount() >= 1);
        QVERIFY(search->DBRichEdit1->toPlainText().contains(phrase));

        // Back to the default: the quick search's rows stay, with Makarem's text.
        dialogs.clear();
        choose(QStringLiteral("fa.makarem"));
        QCOMPARE(verses->fieldText(QStringLiteral("id1")), QStringLiteral("2"));
        QCOMPARE(quran()->DBMemo2->toPlainText(), translated("fa.makarem", 2));
        QCOMPARE(storedChoice(), QByteArray("fa.makarem\n"));
        QVERIFY(dialogs.shown().isEmpty());
    }

    // Whatever filled the verse set, a switch keeps its statement, rows and current row.
    void switchingKeepsEachVerseSet_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("every verse") << 0;
        QTest::newRow("sura list") << 1;
        QTest::newRow("sura box") << 2;
        QTest::newRow("verse box") << 3;
        QTest::newRow("topic") << 4;
        QTest::newRow("quick search, Arabic") << 5;
        QTest::newRow("quick search, translation") << 6;
    }
    void switchingKeepsEachVerseSet()
    {
        QFETCH(int, way);
        MemoryDialogs dialogs;
        ProgramFixture program;
        QVERIFY(program.started());
        DataSet *verses = program.verses();
        QuranPage *page = quran();
        switch (way) {
        case 1:
            page->ListBox5->setCurrentRow(1);
            break;
        case 2:
            page->chapter->setText(QStringLiteral("36"));
            break;
        case 3:
            page->chapter->setText(QStringLiteral("2"));
            page->verse->setText(QStringLiteral("255"));
            break;
        case 4:
            page->ffClick();
            break;
        case 5:
        case 6:
            (way == 5 ? page->ar : page->fa)->setChecked(true);
            page->Edit1->setText(way == 5 ? QString::fromUtf8("إبراهيم")
                                          : QString::fromUtf8("ابراهیم"));
            page->BitBtn6->click();
            break;
        }
        QVERIFY(verses->recordCount() > 0);
        const int rows = verses->recordCount();
        const int current = rows / 2;
        verses->gotoBookmark(current);
        const QStringList statement = verses->sql();
        const int id = verses->fieldText(QStringLiteral("id1")).toInt();

        settings()->loadTranslations();
        choose(QStringLiteral("fa.fooladvand"));
        QCOMPARE(verses->sql(), statement);
        QCOMPARE(verses->recordCount(), rows);
        QCOMPARE(verses->currentRow(), current);
        QCOMPARE(verses->fieldText(QStringLiteral("id1")).toInt(), id);
        QCOMPARE(page->DBMemo2->toPlainText(), translated("fa.fooladvand", id));
        QCOMPARE(kevran::main->TabSheet4.get()->DBMemo5->toPlainText(),
                 translated("fa.fooladvand", id));
        choose(QStringLiteral("fa.makarem"));
        QCOMPARE(page->DBMemo2->toPlainText(), translated("fa.makarem", id));
    }

    // The switch refuses while a statement on the connection still gives rows (the verse rows
    // start-up left), changing nothing; once they are read it goes ahead.
    void switchRefusedWhileAStatementRuns()
    {
        ProgramFixture program(ProgramFixture::Rows::AsStartUpLeaves);
        QVERIFY(program.started());
        DataSet *verses = program.verses();
        QVERIFY(!verses->isFetched());
        Connection *connection = verses->connection();
        const QString before = connection->translation();
        bool refused = false;
        try {
            Translations::choose(connection, QStringLiteral("fa.ayati"));
        } catch (const Error &) {
            refused = true;
        }
        QVERIFY(refused);
        QCOMPARE(connection->translation(), before);
        verses->fetchAll();
        QCOMPARE(verses->recordCount(), 6236);
        QCOMPARE(Translations::choose(connection, QStringLiteral("fa.ayati")),
                 QStringLiteral("fa.ayati"));
    }

    void storedChoiceSurvivesARestart()
    {
        storeChoice("fa.ayati\n");
        {
            // Switched before the verse rows left by start-up are read: every row follows.
            ProgramFixture program(ProgramFixture::Rows::AsStartUpLeaves);
            QVERIFY(program.started());
            DataSet *verses = program.verses();
            QVERIFY(!verses->isFetched());
            QCOMPARE(verses->fieldText(QStringLiteral("English")), translated("fa.ayati", 1));
            settings()->loadTranslations();
            QCOMPARE(settings()->TranslationBox->currentData().toString(),
                     QStringLiteral("fa.ayati"));
            choose(QStringLiteral("fa.khorramshahi"));
            QCOMPARE(verses->recordCount(), 6236);
            const int english = verses->fieldIndex(QStringLiteral("English"));
            for (const int id : {1, 2, 3000, 6236})
                QCOMPARE(verses->text(id - 1, english), translated("fa.khorramshahi", id));
        }
        ProgramFixture again;
        QVERIFY(again.started());
        QCOMPARE(again.verses()->fieldText(QStringLiteral("English")),
                 translated("fa.khorramshahi", 1));
        QVERIFY(kevran::main->TabSheet6.get()->aboutLines().contains(
            QString::fromUtf8("ترجمه قرآن توسط استاد بهاءالدين خرمشاهي")));
    }

    // A stored choice the database lacks, a damaged file, or translations the database cannot
    // give, leave the default without a word.
    void unknownChoiceFallsBack_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("listed");
        QTest::newRow("unknown id") << QByteArray("fa.nowhere\n") << QString() << 6;
        QTest::newRow("not an id") << QByteArray("'; DROP VIEW main; --") << QString() << 6;
        QTest::newRow("empty") << QByteArray() << QString() << 6;
        QTest::newRow("huge") << QByteArray(2 * 1024 * 1024, 'a') << QString() << 6;
        QTest::newRow("translation not in this database")
            << QByteArray("fa.ansarian")
            << QStringLiteral("DELETE FROM Translations WHERE Code = 'fa.ansarian'; "
                              "DELETE FROM TranslationText WHERE Code = 'fa.ansarian'")
            << 5;
        QTest::newRow("verses of the translations lost")
            << QByteArray("fa.ansarian") << QStringLiteral("DROP TABLE TranslationText") << 6;
    }
    void unknownChoiceFallsBack()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, change);
        QFETCH(int, listed);
        storeChoice(stored);
        const QString database =
            change.isEmpty() ? kDatabase : changedDatabase(QStringLiteral("changed.db"), change);
        MemoryDialogs dialogs;
        ProgramFixture program(database);
        QVERIFY(program.started());
        QCOMPARE(program.verses()->fieldText(QStringLiteral("English")),
                 translated("fa.makarem", 1));
        settings()->loadTranslations();
        QCOMPARE(settings()->TranslationBox->currentData().toString(),
                 QStringLiteral("fa.makarem"));
        QCOMPARE(settings()->TranslationBox->count(), listed);
        QVERIFY(dialogs.shown().isEmpty());
        if (change.startsWith(QLatin1String("DROP"))) {
            // Choosing then reports the fault; the box goes back to what the verses read.
            choose(QStringLiteral("fa.ayati"));
            QCOMPARE(dialogs.shown().size(), 1);
            QCOMPARE(settings()->TranslationBox->currentData().toString(),
                     QStringLiteral("fa.makarem"));
            QCOMPARE(quran()->DBMemo2->toPlainText(), translated("fa.makarem", 1));
        }
    }

    // A database without the table of translations: the box stays empty and disabled, and the
    // verses read the database's own column.
    void databaseWithoutTranslations()
    {
        storeChoice("fa.ansarian\n");
        const QString path = m_dir.filePath(QStringLiteral("small.db"));
        FixtureDatabase::write(path, {{1, 1, QStringLiteral("a"), QStringLiteral("own"),
                                       QStringLiteral("a"), QString()}});
        MemoryDialogs dialogs;
        ProgramFixture program(path);
        QVERIFY(program.started());
        QCOMPARE(program.verses()->fieldText(QStringLiteral("English")), QStringLiteral("own"));
        settings()->loadTranslations();
        QCOMPARE(settings()->TranslationBox->count(), 0);
        QVERIFY(!settings()->TranslationBox->isEnabled());
        QVERIFY(kevran::main->TabSheet6.get()->aboutLines().contains(
            QString::fromUtf8("ترجمه قرآن توسط آيت الله العظمي ناصر مکارم شيرازي")));
        QVERIFY(dialogs.shown().isEmpty());
    }

    // The credit names whoever the database says translated the verses it carries.
    void aboutCreditFollowsTheDatabase()
    {
        {
            ProgramFixture program;
            QVERIFY(program.started());
            const QStringList lines = kevran::main->TabSheet6.get()->aboutLines();
            QCOMPARE(lines.value(6),
                     QString::fromUtf8("ترجمه قرآن توسط آيت الله العظمي ناصر مکارم شيرازي"));
            // The Persian Nahj text's MIT notice, verbatim from the database.
            const QString about = lines.join(QLatin1Char('\n'));
            QVERIFY(about.contains(QStringLiteral("Copyright (c) 2019-2020 Geraked")));
            QVERIFY(about.contains(QStringLiteral("Permission is hereby granted, free of charge")));
            QVERIFY(about.contains(QStringLiteral("SOFTWARE.")));
        }
        const QString other = changedDatabase(
            QStringLiteral("other-translator.db"),
            QString::fromUtf8("UPDATE Translations SET Translator = 'Mohsen Qaraati', "
                              "PersianName = 'قرائتی' WHERE Ord = 1"));
        ProgramFixture program(other);
        QVERIFY(program.started());
        kevran::main->show();
        kevran::main->setActivePage(kevran::main->TabSheet6.get());
        const QStringList lines =
            kevran::main->TabSheet6.get()->Memo2->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(6), QString::fromUtf8("ترجمه قرآن توسط قرائتی"));
        QVERIFY(lines.join(QLatin1Char('\n')).contains(QStringLiteral("Mohsen Qaraati")));
        QVERIFY(!lines.join(QLatin1Char('\n')).contains(QString::fromUtf8("مکارم")));
    }

    void copyVersesWithReference()
    {
        MemoryClipboard clipboard;
        ProgramFixture program;
        QVERIFY(program.started());
        DataSet *verses = program.verses();
        QuranPage *page = quran();
        QCOMPARE(page->CopyWithReference->text(), QString::fromUtf8("کپي با نشاني"));
        QVERIFY(page->PopupMenu3->actions().contains(page->CopyWithReference));
        // The copies, then the reader's own commands.
        QCOMPARE(page->PopupMenu3->actions().indexOf(page->CopyWithReference), 2);
        QCOMPARE(page->PopupMenu3->actions().mid(4, 2),
                 QList<QAction *>({page->AddBookmark, page->EditNote}));
        QCOMPARE(page->CopyVerseWithReference->text(), QString::fromUtf8("کپي آيه با نشاني"));

        // Sura 4: verses 125 and 1 selected, copied in the set's order; the row moves to 125.
        page->ListBox5->setCurrentRow(3);
        page->CheckBox1->setChecked(true);
        page->CheckBox1Click();
        selectRows({124, 0});
        page->CopyWithReference->trigger();
        const auto arabic = [verses](int row) {
            return verses->text(row, verses->fieldIndex(QStringLiteral("Arabic")));
        };
        QCOMPARE(clipboard.text(), arabic(0) + '\n' + translated("fa.makarem", 494) + '\n' +
                                       QString::fromUtf8("(سوره النساء، آيه ۱)") + "\n\n" +
                                       arabic(124) + '\n' + translated("fa.makarem", 618) + '\n' +
                                       QString::fromUtf8("(سوره النساء، آيه ۱۲۵)"));
        QCOMPARE(verses->currentRow(), 124);

        // From a pane: the current verse, in the chosen translation.
        settings()->loadTranslations();
        choose(QStringLiteral("fa.fooladvand"));
        QCOMPARE(page->PopupMenu6->actions().mid(0, 2),
                 QList<QAction *>({page->CopyPaneText, page->CopyVerseWithReference}));
        emit page->DBMemo2->customContextMenuRequested(QPoint(5, 5));
        QVERIFY(page->CopyVerseWithReference->isEnabled());
        page->PopupMenu6->hide();
        page->CopyVerseWithReference->trigger();
        QCOMPARE(clipboard.text(), arabic(124) + '\n' + translated("fa.fooladvand", 618) + '\n' +
                                       QString::fromUtf8("(سوره النساء، آيه ۱۲۵)"));
        choose(QStringLiteral("fa.makarem"));

        // Names as the sura list spells them, numbers in Persian digits.
        QCOMPARE(QuranPage::verseReference(11, 7), QString::fromUtf8("(سوره هود، آيه ۷)"));
        QCOMPARE(QuranPage::verseReference(2, 255), QString::fromUtf8("(سوره البقرة، آيه ۲۵۵)"));

        // Nothing selected in the grid: nothing copied.
        page->DbAltGrid3->clearSelection();
        const int writes = clipboard.writes();
        page->CopyWithReference->trigger();
        QCOMPARE(clipboard.writes(), writes);
    }

    // The pages as a reader sees them at 1366x768, saved for inspection; the new frame lies
    // inside the page and its box shows the whole name.
    void renderedPages()
    {
        ProgramFixture program;
        QVERIFY(program.started());
        Tmain *window = kevran::main;
        window->resize(1366, 768);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QString dir = QStringLiteral(KEVRAN_SCREENSHOT_DIR);
        QDir().mkpath(dir);

        window->setActivePage(settings());
        QTRY_COMPARE(settings()->TranslationBox->count(), 6);
        choose(QStringLiteral("fa.ghomshei"));
        QVERIFY(settings()->rect().contains(settings()->TranslationFrame->geometry()));
        QComboBox *box = settings()->TranslationBox;
        QVERIFY(box->fontMetrics().horizontalAdvance(box->currentText()) < box->width() - 30);
        QVERIFY(
            window->grab().save(QDir(dir).filePath(QStringLiteral("translation-settings.png"))));

        window->setActivePage(window->TabSheet6.get());
        QVERIFY(window->grab().save(QDir(dir).filePath(QStringLiteral("translation-about.png"))));

        window->setActivePage(quran());
        quran()->ListBox5->setCurrentRow(3);
        program.verses()->gotoBookmark(124);
        QVERIFY(window->grab().save(QDir(dir).filePath(QStringLiteral("translation-quran.png"))));
        choose(QStringLiteral("fa.makarem"));
    }

    void copyNahjWithReference()
    {
        MemoryClipboard clipboard;
        ProgramFixture program;
        QVERIFY(program.started());
        NahjPage *page = kevran::main->TabSheet2.get();
        QCOMPARE(page->CopyItemWithReference->text(), QString::fromUtf8("کپي با نشاني"));

        // The panes' menu: the ordinary copy, then the command for the pane it was opened over.
        QCOMPARE(page->PopupMenu7->actions().mid(0, 2),
                 QList<QAction *>({page->CopyBookText, page->CopyItemWithReference}));
        QCOMPARE(page->PopupMenu7->actions().mid(3, 2),
                 QList<QAction *>({page->AddBookmark, page->EditNote}));
        QCOMPARE(page->CopyBookText->text(), QString::fromUtf8("کپي"));

        // Before any item is chosen the panes are empty and nothing is copied.
        page->copyItemWithReference(page->DBMemo3);
        QCOMPARE(clipboard.writes(), 0);

        QTreeWidgetItem *sermon = page->TreeView1->topLevelItem(0)->child(26);
        page->TreeView1->setCurrentItem(sermon);
        page->itemLookup();
        const QString persian = page->DBMemo3->toPlainText();
        QVERIFY(persian.startsWith(QString::fromUtf8("خطبه ۲۷")));
        emit page->DBMemo3->customContextMenuRequested(QPoint(5, 5));
        QVERIFY(page->CopyItemWithReference->isEnabled());
        QVERIFY(!page->CopyBookText->isEnabled()); // nothing selected
        page->PopupMenu7->hide();
        page->CopyItemWithReference->trigger();
        QCOMPARE(clipboard.text(), persian + QString::fromUtf8("\n(نهج البلاغه، خطبه ۲۷)"));

        // A selection of the Arabic pane: only it, with the reference.
        QTextCursor cursor = page->DBMemo4->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(20, QTextCursor::KeepAnchor);
        page->DBMemo4->setTextCursor(cursor);
        page->copyItemWithReference(page->DBMemo4);
        QCOMPARE(clipboard.text(), page->DBMemo4->toPlainText().left(20) +
                                       QString::fromUtf8("\n(نهج البلاغه، خطبه ۲۷)"));

        // A saying: the section's singular name.
        page->TreeView1->setCurrentItem(page->TreeView1->topLevelItem(2)->child(479));
        page->itemLookup();
        page->copyItemWithReference(page->DBMemo3);
        QVERIFY(clipboard.text().endsWith(QString::fromUtf8("\n(نهج البلاغه، حکمت ۴۸۰)")));
    }
};

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"
