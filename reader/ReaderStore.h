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
// A note's id is never given to another note, even after it is removed, and its revision
// grows with each save: together they name one state of one note.
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

// Entries taken out or changed, as they were, so that they can be put back.
struct ReaderRemoval {
    std::vector<ReaderFolder> folders;
    std::vector<ReaderBookmark> bookmarks;
    std::vector<ReaderNote> notes;
    // Notes that stayed but whose text changed (a kept note merged into the reader's own):
    // their texts before.
    std::vector<ReaderNote> changedNotes;
    bool isEmpty() const
    {
        return folders.empty() && bookmarks.empty() && notes.empty() && changedNotes.empty();
    }
};

// Everything a store holds, or a file holds for one: folders (by the ids of their source),
// bookmarks, notes and the places.
struct ReaderContents {
    std::vector<ReaderFolder> folders;
    std::vector<ReaderBookmark> bookmarks;
    std::vector<ReaderNote> notes;
    std::optional<ReaderRef> quran;
    std::optional<ReaderRef> nahj;
};

// What an editor read: the note (id 0 for none) at its revision, and the note it keeps
// another window's text in, once it has had to.
struct ReaderNoteBase {
    qint64 id = 0;
    qint64 revision = 0;
    qint64 keptId = 0;
};

struct ReaderNoteSave {
    qint64 id = 0;          // the note now; 0 when it was removed (empty text)
    qint64 revision = 0;    // its revision now
    qint64 keptId = 0;      // where another window's text was kept, if it was
    bool keptOther = false; // this save kept another window's text
    ReaderNoteBase base() const { return {id, revision, keptId}; }
};

// The reader's own database, reader.db: places, bookmark folders, bookmarks and notes. It is an
// SQLite file in WAL mode with full synchronisation, so a committed entry survives a killed
// program and a power cut; every write is one short transaction, and a second program on the
// same file waits for it (busy timeout) instead of failing. Typed text reaches SQLite only as
// bound parameters. Every failing call raises an Error whose message is in Persian; a failed
// opening leaves the store closed.
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
    // date. A damaged file, or one that is no database, is never changed: it is renamed to
    // reader.db.damaged-<date> (with its journal files), movedAside() names it, and a fresh
    // file takes its place. A file that cannot be written (its folder or itself read-only), or
    // that a newer program wrote (a newer schema), is opened read-only and never changed:
    // readOnlyReason() says why. Raises an Error, with nothing left open, when no file can be
    // made or opened.
    void open(const QString &path);
    void close();
    bool isOpen() const { return m_db.isOpen(); }
    const QString &path() const { return m_path; }
    // The path the last open() moved a damaged file to; empty when none was.
    const QString &movedAside() const { return m_movedAside; }
    // Whether the store only reads, and why (in Persian); empty when it writes.
    bool isReadOnly() const { return !m_readOnlyReason.isEmpty(); }
    const QString &readOnlyReason() const { return m_readOnlyReason; }
    // The program's version, recorded in the files it writes so that an older program can name
    // the one that wrote a file it cannot write.
    static QString programVersion();

    // A number that changes whenever the entries change, by this store or by another program
    // on the same file: a view compares it with the one it read to know it is out of date.
    qint64 changeStamp();
    // A number that changes whenever another program changes the entries.
    qint64 othersChanges();

    // Where the reader stopped.
    std::optional<ReaderRef> place(Slot slot);
    void setPlace(Slot slot, const ReaderRef &ref);

    // Folders. A folder named as a parent or a target must exist (0 is the top); one that
    // another program removed meanwhile is refused with a message.
    std::vector<ReaderFolder> folders();
    qint64 addFolder(const QString &name, qint64 parent);
    void renameFolder(qint64 id, const QString &name);
    // Refuses to move a folder into itself or one of its own folders.
    void moveFolder(qint64 id, qint64 parent);
    // The folder new bookmarks go into: the one used last, 0 for none (or when it is gone).
    qint64 lastFolder();
    void setLastFolder(qint64 folder);
    // How many folders (itself among them) and bookmarks a folder's removal takes.
    std::pair<int, int> folderContents(qint64 id);

    // Bookmarks. Adding what the folder holds already changes nothing; the answer is the id of
    // the bookmark that holds it.
    // Lists leave the times out (ReaderBookmark::created stays null): reading thousands of them
    // costs more than the rest of a row.
    enum class Times { Read, Skip };
    std::vector<ReaderBookmark> bookmarks(Times times = Times::Read);
    qint64 addBookmark(const ReaderRef &ref, qint64 folder);
    // Adds each in one transaction; answers how many were new.
    int addBookmarks(const std::vector<ReaderRef> &refs, qint64 folder);
    // Adds each to the folder used last, read in the same transaction.
    int addBookmarksToLastFolder(const std::vector<ReaderRef> &refs);
    // A bookmark that the target folder holds already is merged into it: its title is kept
    // with the other's.
    void moveBookmarks(const std::vector<qint64> &ids, qint64 folder);
    void setBookmarkTitle(qint64 id, const QString &title);

    // Notes.
    std::vector<ReaderNote> notes();
    // The notes with only their first `length` characters (code points, never half of one) of
    // their texts, and no times, for lists.
    std::vector<ReaderNote> noteHeads(int length);
    // The ids of the notes whose text holds the typed text, compared as the search folds
    // text (blanks standing for runs of blanks and punctuation); % and _ are plain letters.
    std::vector<qint64> notesHolding(const QString &typed);
    // The reader's own note on it, if any.
    std::optional<ReaderNote> note(const ReaderRef &ref);
    // Any note, by its id.
    std::optional<ReaderNote> noteById(qint64 id);
    // The notes kept beside the reader's own on it (imported, or kept from another window).
    std::vector<ReaderNote> keptNotes(const ReaderRef &ref);
    // Whether any note of any origin stands on it.
    bool hasNotes(const ReaderRef &ref);

    using NoteBase = ReaderNoteBase;
    using NoteSave = ReaderNoteSave;
    // Saves the reader's own note on ref over what the editor read (base). Empty text removes
    // the note. When the note is not what the editor read (another window saved it, or
    // removed it and wrote a new one) and its text differs, that text is kept beside as a
    // note of origin OtherWindow before this save goes in; an editor keeps another window's
    // text in one note (base.keptId), written again at each later clash, so two windows typing
    // on make no more copies. Nothing either wrote is lost.
    NoteSave saveNote(const ReaderRef &ref, const QString &text, const NoteBase &base = {});
    // The same for a note kept beside the reader's own, by its id: a kept note removed
    // meanwhile comes back with the text.
    NoteSave saveKeptNote(qint64 id, const ReaderRef &ref, const QString &text,
                          const NoteBase &base);
    // Adds a kept note's text to the end of the reader's own note on its reference (making it
    // when there is none) and removes the kept note, in one transaction; the answer puts both
    // back through restore().
    ReaderRemoval mergeNote(qint64 id);
    // The refs that have a note of any origin.
    std::vector<ReaderRef> notedRefs();

    // Removal, each in one transaction, answering what went so that restore() can put it back.
    // A folder goes with its folders and their bookmarks.
    ReaderRemoval removeBookmarks(const std::vector<qint64> &ids);
    ReaderRemoval removeFolder(qint64 id);
    ReaderRemoval removeNotes(const std::vector<qint64> &ids);
    // Puts removed entries back under their ids. Any that came back meanwhile is skipped; a
    // note whose verse has a note of the reader's again stands beside it; a changed note's
    // text comes back unless it was saved again since, when the text stands beside it.
    void restore(const ReaderRemoval &removed);

    // Everything, read in one snapshot.
    ReaderContents contents();
    // What a merge added. notes counts every note added; keptBeside those of them that stand
    // beside a note the store held already (their text differed from it). skipped counts the
    // bookmarks and notes the store held already (and repeats within the contents). unplaced
    // counts the folders and bookmarks whose folder the contents did not hold (or that sat in
    // a loop of folders): they go to the top, under no folder. A place is set only where the
    // store had none.
    struct MergeReport {
        int folders = 0;
        int bookmarks = 0;
        int notes = 0;
        int places = 0;
        int skipped = 0;
        int keptBeside = 0;
        int unplaced = 0;
    };
    // Merges contents in one transaction; adds and never deletes or overwrites:
    // - a folder is the store's one of its name under the same parent, or is made (several of
    //   one name under one parent match one to one, in the order of their ids, so contents
    //   merged twice add nothing);
    // - a bookmark its folder holds already is skipped;
    // - a note whose text some note on the same reference has already, or an empty one, is
    //   skipped; a note of the reader's own goes in as the reference's own note when it has
    //   none, and else beside it, marked Imported; other notes keep their origin;
    // - a place is set only where the store has none.
    MergeReport merge(const ReaderContents &contents);
    // Reads the contents of another reader.db (a copy, a backup, one moved aside as damaged or
    // written by a newer program) without changing it: it is read from a private copy with
    // its journal. Whatever a damaged file still gives is read; damaged() tells whether any of
    // it could not be. Raises an Error when the file is no reader's database.
    static ReaderContents readFile(const QString &path, bool *damaged = nullptr);

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

    // The connection, for tests that reach under the store.
    SqliteConnection &connection() { return m_db; }

    static QString timeText(const QDateTime &time);
    static QDateTime timeOf(const QString &text);
    // The Persian sentence for an SQLite result code.
    static QString reason(int sqliteCode);

private:
    void openWritable();
    void openReadOnly(const QString &why);
    void migrate();
    void repair();
    void moveAside(const QString &why);
    void begin();
    void commit();
    void rollback();
    void touch() { ++m_ownChanges; }
    // Saves over the ref's own note (keptId 0) or the kept one by id.
    NoteSave save(const ReaderRef &ref, qint64 keptId, const QString &text, const NoteBase &base);
    qint64 keepOther(const ReaderRef &ref, const QString &text, qint64 keptId);
    void requireFolder(qint64 id);
    void moveInto(const std::vector<qint64> &ids, qint64 folder);

    SqliteConnection m_db;
    QString m_path;
    QString m_movedAside;
    QString m_readOnlyReason;
    bool m_newer = false; // read-only because a newer program wrote it: never written
    qint64 m_ownChanges = 0;
};
