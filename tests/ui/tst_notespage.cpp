#include "data/DataSet.h"
#include "doubles/MemoryDialogs.h"
#include "doubles/MemoryFileChooser.h"
#include "doubles/MemorySaveFileChooser.h"
#include "reader/ReaderStore.h"
#include "settings/ResumeSetting.h"
#include "support/ProgramFixture.h"
#include "support/Typing.h"
#include "ui/main/DataGridModel.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/notes/BookmarkTreeModel.h"
#include "ui/notes/NoteEditor.h"
#include "ui/notes/NoteListModel.h"
#include "ui/notes/NotePane.h"
#include "ui/notes/NotesPage.h"
#include "ui/notes/ReaderData.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

namespace {

const ReaderRef kThrone = ReaderRef::ofVerse(2, 255);
const ReaderRef kSermon27 = ReaderRef::ofNahj(1, 27);

// Types into a note editor as a reader does, and closes it.
void writeNote(NoteEditor *editor, const QString &text)
{
    QVERIFY(editor);
    editor->Text->setFocus();
    typeText(editor->Text, text);
    editor->close();
}

NoteEditor *openEditor()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *editor = qobject_cast<NoteEditor *>(w); editor && editor->isVisible())
            return editor;
    }
    return nullptr;
}

int rowOf(DataSet *set, int sura, int verse)
{
    const int c = set->fieldIndex(QStringLiteral("chapter"));
    const int v = set->fieldIndex(QStringLiteral("vers"));
    for (int r = 0; r < set->recordCount(); ++r) {
        if (set->text(r, c).toInt() == sura && set->text(r, v).toInt() == verse)
            return r;
    }
    return -1;
}

} // namespace

// The reader's own page with the real text database: a reader bookmarks 2:255 into a folder,
// writes notes on it and on Sermon 27, starts the program again and finds both.
class tst_NotesPage : public QObject {
    Q_OBJECT

private slots:
    // The program's name, as start-up sets it, places the reader's files.
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("kevran")); }

    void init()
    {
        const QString path = ReaderStore::defaultPath();
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(suffix));
        QFile::remove(QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                          .filePath(ResumeSetting::FileName));
    }

    void bookmarkAndNotesSurviveARestart()
    {
        MemoryDialogs dialogs;
        {
            ProgramFixture program;
            QVERIFY(program.started());
            Tmain *window = program.window();
            window->makePages();
            NotesPage *notes = window->NotesSheet.get();
            notes->NewFolderClick();
            QuranPage *quran = window->TabSheet1.get();
            quran->showVerse(2, 255);
            QCOMPARE(*quran->currentVerse(), kThrone);
            QVERIFY(quran->AddBookmark->isVisible());
            quran->AddBookmark->trigger();
            quran->AddBookmark->trigger(); // twice in one folder: one bookmark
            quran->EditNote->trigger();
            writeNote(openEditor(), QStringLiteral("آية الكرسي: بخوانم هر شب"));
            QVERIFY(quran->DBMemo1->isNoted() && quran->DBMemo1->mark()->isVisibleTo(quran));
            const int row = rowOf(program.verses(), 2, 255);
            QVERIFY(quran->DbAltGrid3->dataModel()
                        ->headerData(row, Qt::Vertical, Qt::DisplayRole)
                        .toString()
                        .contains(QStringLiteral("✎")));
            QVERIFY(!quran->DbAltGrid3->dataModel()
                         ->headerData(row + 1, Qt::Vertical, Qt::DisplayRole)
                         .toString()
                         .contains(QStringLiteral("✎")));

            NahjPage *nahj = window->TabSheet2.get();
            nahj->showItem(1, 27);
            QCOMPARE(*nahj->shownItem(), kSermon27);
            nahj->EditNote->trigger();
            writeNote(openEditor(), QStringLiteral("خطبه جهاد"));
            QVERIFY(nahj->DBMemo4->isNoted());
            window->close();
        }
        QVERIFY(dialogs.shown().isEmpty());

        ProgramFixture program;
        Tmain *window = program.window();
        window->makePages();
        NotesPage *notes = window->NotesSheet.get();
        notes->reload();
        BookmarkTreeModel *tree = notes->bookmarkModel();
        QCOMPARE(int(tree->bookmarks().size()), 1);
        QCOMPARE(tree->bookmarks().front().ref, kThrone);
        QCOMPARE(tree->folderAt(tree->folderIndex(tree->bookmarks().front().folder))->name,
                 QStringLiteral("پوشه تازه"));
        QCOMPARE(notes->noteModel()->noteCount(), 2);
        // The places where the reader stopped.
        QVERIFY(notes->ContinueQuran->text().contains(kThrone.label()));
        QVERIFY(notes->ContinueNahj->text().contains(kSermon27.label()));

        // The filter folds as the search does: a Persian keyboard's ی and ک find «الكرسي».
        typeText(notes->BookmarkFilter, QStringLiteral("کرسی"));
        QCOMPARE(notes->noteModel()->rowCount(), 1);
        QCOMPARE(tree->rowCount(), 0); // no bookmark's reference or opening holds it
        notes->BookmarkFilter->clear();

        // A note opens its verse; the marks show from the verse itself.
        const QModelIndex first = notes->noteModel()->index(0);
        emit notes->NoteList->activated(first);
        QCOMPARE(window->PageControl1->currentWidget(),
                 static_cast<QWidget *>(window->TabSheet1.get()));
        QCOMPARE(*window->TabSheet1.get()->currentVerse(), kThrone);
        QVERIFY(window->TabSheet1.get()->DBMemo1->isNoted());
    }

    void removalIsConfirmedAndUndone()
    {
        MemoryDialogs dialogs;
        ProgramFixture program;
        Tmain *window = program.window();
        window->makePages();
        ReaderStore &store = window->Reader->store();
        const qint64 folder = store.addFolder(QStringLiteral("حفظ"), 0);
        store.addBookmarks({kThrone, ReaderRef::ofVerse(2, 256)}, folder);
        NotesPage *notes = window->NotesSheet.get();
        notes->reload();
        BookmarkTreeModel *tree = notes->bookmarkModel();
        notes->BookmarkTree->setCurrentIndex(tree->folderIndex(folder));

        dialogs.setConfirmAnswer(false);
        notes->DeleteEntryClick();
        QCOMPARE(dialogs.texts().size(), 1);
        QVERIFY(dialogs.texts().first().contains(QStringLiteral("حفظ")));
        QVERIFY(dialogs.texts().first().contains(QStringLiteral("۲ نشانه")));
        QCOMPARE(int(store.bookmarks().size()), 2); // "No" keeps everything

        dialogs.setConfirmAnswer(true);
        notes->DeleteEntryClick();
        QCOMPARE(int(store.bookmarks().size()), 0);
        QVERIFY(notes->UndoRemoval->isEnabled());
        notes->UndoRemovalClick();
        QCOMPARE(int(store.bookmarks().size()), 2);
        QCOMPARE(store.folders().at(0).name, QStringLiteral("حفظ"));

        // Dragged onto "no folder", a bookmark leaves its folder.
        notes->reload();
        const QModelIndex mark = tree->bookmarkIndex(store.bookmarks().at(0).id);
        std::unique_ptr<QMimeData> dragged(tree->mimeData({mark}));
        QVERIFY(tree->canDropMimeData(dragged.get(), Qt::MoveAction, -1, -1, tree->folderIndex(0)));
        tree->dropMimeData(dragged.get(), Qt::MoveAction, -1, -1, tree->folderIndex(0));
        QCOMPARE(store.bookmarks().at(0).folder, 0);
        QCOMPARE(store.lastFolder(), 0);
    }

    // Export, remove everything, import: all of it back, through the page's buttons.
    void exportRemoveImport()
    {
        MemoryDialogs dialogs;
        MemoryFileChooser chooser;
        MemorySaveFileChooser saveChooser;
        QTemporaryDir dir;
        ProgramFixture program;
        Tmain *window = program.window();
        ReaderStore &store = window->Reader->store();
        const qint64 folder = store.addFolder(QStringLiteral("روزانه"), 0);
        store.addBookmarks({kThrone, kSermon27}, folder);
        store.saveNote(kThrone, QStringLiteral("آية الكرسي"));
        store.saveNote(kSermon27, QStringLiteral("جهاد"));
        NotesPage *notes = window->NotesSheet.get();
        saveChooser.setAnswer(dir.filePath(QStringLiteral("backup.json")));
        chooser.setAnswer(dir.filePath(QStringLiteral("backup.json")));
        notes->ExportClick();
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("backup.json"))));

        dialogs.setConfirmAnswer(true);
        notes->reload();
        notes->BookmarkTree->setCurrentIndex(notes->bookmarkModel()->folderIndex(folder));
        notes->DeleteEntryClick();
        notes->NoteList->selectAll();
        QTest::keyClick(notes->NoteList, Qt::Key_Delete);
        QVERIFY(store.bookmarks().empty() && store.notes().empty() && store.folders().empty());

        dialogs.clear();
        notes->ImportClick();
        QCOMPARE(int(store.folders().size()), 1);
        QCOMPARE(int(store.bookmarks().size()), 2);
        QCOMPARE(store.note(kThrone)->text, QStringLiteral("آية الكرسي"));
        QCOMPARE(store.note(kSermon27)->text, QStringLiteral("جهاد"));
        QCOMPARE(notes->noteModel()->noteCount(), 2);
        QVERIFY(dialogs.texts().last().contains(QStringLiteral("۲ نشانه")));

        // A damaged file changes nothing and says what is wrong.
        QFile damaged(dir.filePath(QStringLiteral("damaged.json")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"format\": \"kevran-reader\", \"version\": 1, \"notes\": [");
        damaged.close();
        chooser.setAnswer(damaged.fileName());
        dialogs.clear();
        notes->ImportButton->click();
        QCOMPARE(dialogs.shown().size(), 1);
        QCOMPARE(dialogs.shown().first().kind, Dialogs::Kind::Error);
        QCOMPARE(int(store.bookmarks().size()), 2);
    }

    // A save that fails (the database refusing writes, as on a full disk or a read-only folder)
    // is told once; the text stays in the editor, which does not close, nor does the window,
    // until the note can be saved.
    void failedSaveKeepsTheNote()
    {
        MemoryDialogs dialogs;
        ProgramFixture program;
        Tmain *window = program.window();
        window->show();
        ReaderStore &store = window->Reader->store();
        NoteEditor *editor = window->Reader->editNote(kSermon27, window);
        store.connection().exec("PRAGMA query_only=1");
        typeText(editor->Text, QStringLiteral("نوشته‌اي که نبايد گم شود"));
        QVERIFY(!editor->saveNow());
        QVERIFY(!editor->saveNow()); // told once
        QCOMPARE(dialogs.shown().size(), 1);
        QVERIFY(editor->SaveToFile->isVisibleTo(editor));
        editor->close(); // asked what to do with the text; the reader stays
        QVERIFY(editor->isVisible());
        QCOMPARE(dialogs.shown().last().kind, Dialogs::Kind::Choice);
        window->close();
        QVERIFY(window->isVisible());
        QCOMPARE(dialogs.shown().size(), 3);
        QCOMPARE(dialogs.shown().last().kind, Dialogs::Kind::Choice);
        QCOMPARE(editor->Text->toPlainText(),
                 QStringLiteral("نوشته‌اي که نبايد گم شود"));
        QVERIFY(!store.note(kSermon27));

        store.connection().exec("PRAGMA query_only=0");
        QPointer<NoteEditor> closing(editor);
        editor->close();
        QTRY_VERIFY(!closing);
        QCOMPARE(store.note(kSermon27)->text,
                 QStringLiteral("نوشته‌اي که نبايد گم شود"));

        // Still refused: closing the window offers the text to a file, and then closes.
        QTemporaryDir dir;
        MemorySaveFileChooser files;
        files.setAnswer(dir.filePath(QStringLiteral("note.txt")));
        NoteEditor *again = window->Reader->editNote(kThrone, window);
        store.connection().exec("PRAGMA query_only=1");
        typeText(again->Text, QStringLiteral("متني براي پرونده"));
        dialogs.setChoice(0);
        window->close();
        QVERIFY(!window->isVisible());
        QFile kept(dir.filePath(QStringLiteral("note.txt")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(kept.readAll()), QStringLiteral("متني براي پرونده"));
        store.connection().exec("PRAGMA query_only=0");
    }

    // The filter follows the notes as they are written, and a note kept beside the reader's
    // own opens whole from its row; its mark stays while it remains.
    void filterAndKeptNotes()
    {
        MemoryDialogs dialogs;
        ProgramFixture program;
        Tmain *window = program.window();
        window->makePages();
        ReaderStore &store = window->Reader->store();
        NotesPage *notes = window->NotesSheet.get();
        notes->reload();
        typeText(notes->BookmarkFilter, QStringLiteral("زيتون"));
        QCOMPARE(notes->noteModel()->rowCount(), 0);
        writeNote(window->Reader->editNote(kThrone, window), QStringLiteral("والتين و الزيتون"));
        notes->refresh();
        QCOMPARE(notes->noteModel()->rowCount(), 1);
        notes->BookmarkFilter->clear();

        const QString imported = QString(250, QChar(0x0628)) + QStringLiteral(" پايان وارد شده");
        ReaderContents file;
        ReaderNote note;
        note.ref = kThrone;
        note.text = imported;
        note.created = note.modified = QDateTime::currentDateTimeUtc();
        file.notes.push_back(note);
        store.merge(file);
        window->Reader->entriesChangedHere();
        notes->refresh();
        QCOMPARE(notes->noteModel()->rowCount(), 2);
        int keptRow = -1;
        for (int r = 0; r < 2; ++r) {
            if (notes->noteModel()->noteAt(notes->noteModel()->index(r))->origin != 0)
                keptRow = r;
        }
        QVERIFY(keptRow >= 0);
        window->show();
        window->setActivePage(notes);
        QVERIFY(QTest::qWaitForWindowActive(window));
        notes->NoteList->setFocus();
        QTRY_VERIFY(notes->NoteList->hasFocus());
        notes->NoteList->setCurrentIndex(notes->noteModel()->index(keptRow));
        notes->EditNoteClick();
        NoteEditor *kept = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *e = qobject_cast<NoteEditor *>(w); e && e->isVisible() && e->isKept())
                kept = e;
        }
        QVERIFY(kept);
        QCOMPARE(kept->Text->toPlainText(), imported);
        QVERIFY(kept->MergeNote->isVisibleTo(kept));
        kept->close();

        // The own note emptied: the kept one keeps the mark, and the own editor points to it.
        NoteEditor *own = window->Reader->editNote(kThrone, window);
        QVERIFY(own->OtherNotes->isVisibleTo(own));
        own->Text->selectAll();
        QTest::keyClick(own->Text, Qt::Key_Delete);
        own->close();
        QVERIFY(!store.note(kThrone));
        QVERIFY(window->Reader->hasNote(kThrone));
        QVERIFY(window->TabSheet1.get()->DBMemo1->isNoted() ||
                !window->TabSheet1.get()->currentVerse() ||
                *window->TabSheet1.get()->currentVerse() != kThrone);
    }

    // A file a newer program wrote: told once, its notes shown, never written; the editor says
    // so and offers a file for the text.
    void newerFileIsShownReadOnly()
    {
        {
            ReaderStore store;
            store.open(ReaderStore::defaultPath());
            store.saveNote(kSermon27, QStringLiteral("از نسخه تازه"));
            store.connection().exec("PRAGMA user_version=9; UPDATE setting SET value = '7.0' "
                                    "WHERE key = 'program'");
        }
        MemoryDialogs dialogs;
        ProgramFixture program;
        Tmain *window = program.window();
        window->openReaderData();
        QCOMPARE(dialogs.shown().size(), 1);
        QVERIFY(dialogs.texts().first().contains(QStringLiteral("7.0")));
        NotesPage *notes = window->NotesSheet.get();
        notes->reload();
        QCOMPARE(notes->noteModel()->noteCount(), 1);
        NoteEditor *editor = window->Reader->editNote(kSermon27, window);
        QCOMPARE(editor->Text->toPlainText(), QStringLiteral("از نسخه تازه"));
        QVERIFY(editor->SaveToFile->isVisibleTo(editor));
        QVERIFY(editor->State->text().contains(QStringLiteral("7.0")));
        window->Reader->open();
        QCOMPARE(dialogs.shown().size(), 1); // told once
        dialogs.setChoice(1);
        typeText(editor->Text, QStringLiteral(" و بيشتر"));
        editor->close();
        QTRY_VERIFY(!editor->isVisible());
        ReaderStore after;
        after.open(ReaderStore::defaultPath());
        QCOMPARE(after.note(kSermon27)->text, QStringLiteral("از نسخه تازه"));
    }

    void startsOnTheLastVerseWhenAsked()
    {
        {
            ReaderStore store;
            store.open(ReaderStore::defaultPath());
            store.setPlace(ReaderStore::Slot::Quran, ReaderRef::ofVerse(18, 10));
        }
        {
            ProgramFixture program;
            program.window()->openReaderData();
            QCOMPARE(program.verses()->currentRow(), 0); // unchecked: the start as it was
            QCOMPARE(program.verses()->recordCount(), 6236);
        }
        ResumeSetting::save(true);
        ProgramFixture program;
        program.window()->openReaderData();
        QCOMPARE(*program.window()->TabSheet1.get()->currentVerse(), ReaderRef::ofVerse(18, 10));
    }

    // The page as drawn at 1366x768, right to left, with entries whose captions fit; the
    // picture is kept for a person to look at.
    void drawnRightToLeft()
    {
        MemoryDialogs dialogs;
        ProgramFixture program;
        Tmain *window = program.window();
        ReaderStore &store = window->Reader->store();
        const qint64 folder = store.addFolder(QStringLiteral("آيات حفظ"), 0);
        store.addBookmarks({kThrone, ReaderRef::ofVerse(1, 1), ReaderRef::ofVerse(114, 6)}, folder);
        store.addBookmarks({kSermon27, ReaderRef::ofNahj(2, 53)}, 0);
        const QString verseNote =
            QStringLiteral(
                "آية الكرسي را هر شب مي‌خوانم؛ ۲۵۵ آيه دوم.\n") +
            QStringLiteral("اللَّهُ لَا إِلَٰهَ إِلَّا هُوَ ").repeated(6);
        store.saveNote(kThrone, verseNote);
        store.saveNote(kSermon27, QStringLiteral("خطبه جهاد: «أَمَّا بَعْدُ، فَإِنَّ الْجِهَادَ»"));
        store.setPlace(ReaderStore::Slot::Quran, kThrone);
        store.setPlace(ReaderStore::Slot::Nahj, ReaderRef::ofNahj(2, 53));
        window->showNormal();
        window->resize(1366, 768);
        window->setActivePage(window->NotesSheet.get());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        NotesPage *notes = window->NotesSheet.get();
        // Right to left: the bookmarks stand right of the notes, the first place at the right.
        QVERIFY(notes->BookmarkTree->mapTo(window, QPoint()).x() >
                notes->NoteList->mapTo(window, QPoint()).x());
        QVERIFY(notes->ContinueQuran->mapTo(window, QPoint()).x() >
                notes->ContinueNahj->mapTo(window, QPoint()).x());
        for (QPushButton *b : notes->findChildren<QPushButton *>()) {
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) <= b->width(),
                     qPrintable(b->objectName()));
        }
        const QString dir = QStringLiteral(KEVRAN_SCREENSHOT_DIR);
        QDir().mkpath(dir);
        QVERIFY(window->grab().save(QDir(dir).filePath("main-notes.png")));
        window->TabSheet1.get()->showVerse(2, 255);
        window->setActivePage(window->TabSheet1.get());
        QVERIFY(window->grab().save(QDir(dir).filePath("main-quran-noted.png")));
        // The editor reads right to left, its text as the reader wrote it.
        NoteEditor *editor = window->Reader->editNote(kThrone, window);
        QVERIFY(editor->Text->isRightToLeft());
        QCOMPARE(editor->Text->toPlainText(), store.note(kThrone)->text);
        QVERIFY(editor->grab().save(QDir(dir).filePath("note-editor.png")));
        editor->close();

        // Ctrl+D wherever the focus is: the sura list, the tabs.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->TabSheet1.get()->ListBox5->setFocus();
        QTest::keyClick(window->TabSheet1.get()->ListBox5, Qt::Key_D, Qt::ControlModifier);
        window->TabSheet1.get()->showVerse(2, 256);
        window->PageControl1->tabBar()->setFocus();
        QTest::keyClick(window->PageControl1->tabBar(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(int(store.bookmarks().size()), 5 + 2);
    }
};

QTEST_MAIN(tst_NotesPage)
#include "tst_notespage.moc"
