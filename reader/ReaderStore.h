#pragma once

#include "data/SqliteConnection.h"
#include "reader/ReaderRef.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// A folder of bookmarks; parent 0 stands at the top.
struct ReaderFolder {
    qint64 id = 0;
    qint64 parent = 0;
    QString name;
    QDateTime created;
};

// A bookmark; folder 0 is "no folder".
struct ReaderBookmark {
    qint64 id = 0;
    qint64 folder = 0;
    ReaderRef ref;
    QString title;
    QDateTime created;
};

// A note. Each verse or item has at most one note of the reader's own; notes that came from an
// imported file or from another window's concurrent edit and differed from it stand beside it.
struct ReaderNote {
    enum Origin { Own = 0, Imported = 1, OtherWindow = 2 };
    qint64 id = 0;
    ReaderRef ref;
    QString text;
    QDateTime created;
    QDateTime modified;
    int origin = Own;
    qint64 revision = 0; // grows with each save; 0 for a note not saved yet
    bool cut = false;    // text holds only the note's beginning (see noteHeads)
};

// Entries taken out, as they were, so that they can be put back.
struct ReaderRemoval {
    std::vector<ReaderFolder> folders;
    std::vector<ReaderBookmark> bookmarks;
    std::vector<ReaderNote> notes;
    bool isEmpty() const { return folders.empty() && bookmarks.empty() && notes.empty(); }
};

// The reader's own database, reader.db: places, bookmark folders, bookmarks and notes. It is an
// SQLite file in WAL mode with full synchronisation, so a committed entry survives a killed
// program and a power cut; every write is one short transaction, and a second program on the
// same file waits for it (busy timeout) instead of failing. Typed text reaches SQLite only as
// bound parameters. Every failing call raises an Error with SQLite's reason.
class ReaderStore {
public:
    static constexpr int SchemaVersion = 1;
    // How long a write waits for another program's transaction to end.
    static constexpr int BusyTimeoutMs = 5000;

    enum class Slot { Quran, Nahj };

    ReaderStore() = default;
    ReaderStore(const ReaderStore &) = delete;
    ReaderStore &operator=(const ReaderStore &) = delete;

    // $XDG_DATA_HOME/kevran/reader.db (~/.local/share/kevran/reader.db by default).
    static QString defaultPath();

    // Opens the file, making its folder and the file when missing, and brings its schema up to
    // date. A file that is damaged, is no database, or has a newer schema is never changed: it
    // is renamed to reader.db.damaged-<date> (with its journal files), movedAside() names it,
    // and a fresh file takes its place. Raises an Error when no file can be made or opened.
    void open(const QString &path);
    void close();
    bool isOpen() const { return m_db.isOpen(); }
    const QString &path() const { return m_path; }
    // The path the last open() moved a damaged or newer file to; empty when none was.
    const QString &movedAside() const { return m_movedAside; }

    // A number that changes whenever the entries change, by this store or by another program
    // on the same file: a view compares it with the one it read to know it is out of date.
    qint64 changeStamp();
    // A number that changes whenever another program changes the entries.
    qint64 othersChanges();

    // Where the reader stopped.
    std::optional<ReaderRef> place(Slot slot);
    void setPlace(Slot slot, const ReaderRef &ref);

    // Folders.
    std::vector<ReaderFolder> folders();
    qint64 addFolder(const QString &name, qint64 parent);
    void renameFolder(qint64 id, const QString &name);
    // Refuses to move a folder into itself or one of its own folders.
    void moveFolder(qint64 id, qint64 parent);
    // The folder new bookmarks go into: the one used last, 0 for none (or when it is gone).
    qint64 lastFolder();
    void setLastFolder(qint64 folder);

    // Bookmarks. Adding what the folder holds already changes nothing; the answer is the id of
    // the bookmark that holds it.
    // Lists leave the times out (ReaderBookmark::created stays null): reading thousands of them
    // costs more than the rest of a row.
    enum class Times { Read, Skip };
    std::vector<ReaderBookmark> bookmarks(Times times = Times::Read);
    qint64 addBookmark(const ReaderRef &ref, qint64 folder);
    // Adds each in one transaction; answers how many were new.
    int addBookmarks(const std::vector<ReaderRef> &refs, qint64 folder);
    // A bookmark that the target folder holds already is merged into it.
    void moveBookmarks(const std::vector<qint64> &ids, qint64 folder);
    void setBookmarkTitle(qint64 id, const QString &title);

    // Notes.
    std::vector<ReaderNote> notes();
    // The notes with only the first `length` characters of their texts, and no times, for
    // lists.
    std::vector<ReaderNote> noteHeads(int length);
    // The ids of the notes whose text holds the typed text, compared as the search folds
    // text (blanks standing for runs of blanks and punctuation); % and _ are plain letters.
    std::vector<qint64> notesHolding(const QString &typed);
    // The reader's own note on it, if any.
    std::optional<ReaderNote> note(const ReaderRef &ref);
    struct NoteSave {
        qint64 revision = 0;    // the note's revision now; 0 when it was removed (empty text)
        bool keptOther = false; // another program had changed it: its text was kept beside
    };
    // Saves the reader's own note on ref, written over the revision the editor started from
    // (0 for none). Empty text removes the note. When another program saved the note since,
    // with other text, that text is kept beside it as a note of origin OtherWindow: nothing
    // either wrote is lost.
    NoteSave saveNote(const ReaderRef &ref, const QString &text, qint64 baseRevision);
    // The refs that have a note of any origin.
    std::vector<ReaderRef> notedRefs();

    // Removal, each in one transaction, answering what went so that restore() can put it back.
    // A folder goes with its folders and their bookmarks.
    ReaderRemoval removeBookmarks(const std::vector<qint64> &ids);
    ReaderRemoval removeFolder(qint64 id);
    ReaderRemoval removeNotes(const std::vector<qint64> &ids);
    // Puts removed entries back under their ids. Any that came back meanwhile is skipped; a
    // note whose verse has a note of the reader's again stands beside it.
    void restore(const ReaderRemoval &removed);

    // The connection, for whole-file work such as import and export.
    SqliteConnection &connection() { return m_db; }
    // Runs work in one write transaction: committed when it returns, rolled back when it
    // raises.
    template <typename F> void transaction(F &&work)
    {
        begin();
        try {
            work();
        } catch (...) {
            rollback();
            throw;
        }
        commit();
    }

    static QString timeText(const QDateTime &time);
    static QDateTime timeOf(const QString &text);

private:
    void openFile(const QString &path);
    void migrate();
    void moveAside(const QString &why);
    void begin();
    void commit();
    void rollback();
    void touch() { ++m_ownChanges; }

    SqliteConnection m_db;
    QString m_path;
    QString m_movedAside;
    qint64 m_ownChanges = 0;
};
