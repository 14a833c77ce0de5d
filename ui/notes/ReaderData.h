#pragma once

#include "reader/ReaderStore.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <optional>

class NoteEditor;
class QWidget;

// The reader's own data as the windows use it: the store, opened when first needed (after the
// launcher has painted), the places recorded as the reader moves, the marks of noted verses
// and items, and the open note editors.
class ReaderData : public QObject {
    Q_OBJECT
public:
    // A place is written this long after the reader moved at most, so that a killed program
    // keeps the place it held a moment before, without a write for every row passed over.
    static constexpr int PlaceDelayMs = 500;

    explicit ReaderData(QObject *parent = nullptr);
    ~ReaderData() override;

    // Where the store lives; ReaderStore::defaultPath() unless set before the first use.
    void setPath(const QString &path) { m_path = path; }
    const QString &path() const { return m_path; }

    // The store, opened on first use and again at each use after an opening failed; a file
    // moved aside, or opened read-only, is told to the reader once. Raises an Error in Persian
    // when it cannot be opened.
    ReaderStore &store();
    bool isOpen() const { return m_store.isOpen(); }
    // Opens the store as store() does, telling a failure only the first time in a row of
    // failures instead of raising it (for what runs without the reader asking); answers whether
    // it is open.
    bool open();

    // Where the reader stopped on a page.
    void recordPlace(ReaderStore::Slot slot, const ReaderRef &ref);
    // Writes the places not written yet.
    void flushPlaces();

    // Bookmarks the refs in the folder used last; answers how many were new.
    int addBookmarks(const std::vector<ReaderRef> &refs);

    bool hasNote(const ReaderRef &ref) const { return m_noted.contains(ref.key()); }
    // Opens the editor of the reader's own note on the ref, or brings it to the front.
    NoteEditor *editNote(const ReaderRef &ref, QWidget *parent);
    // Opens the editor of a note kept beside the reader's own (by its id), or brings it to the
    // front.
    NoteEditor *editKeptNote(const ReaderNote &note, QWidget *parent);
    // Closes every editor; one whose text cannot be saved asks the reader what to do with it.
    // False when the reader chose to stay in one.
    bool closeEditors();
    // A note on the ref was saved or removed from an editor: its mark shows while any note
    // stands on the ref.
    void noteSaved(const ReaderRef &ref);
    // Entries were taken out or changed outside the reader's page (a kept note merged from
    // its editor): the page offers to put them back.
    void removedHere(const ReaderRemoval &removed);

    // Reads the marks again when another program changed the entries since they were read.
    void refreshIfChanged();
    // Entries changed here: the views are told, and the marks read again when notes may have
    // changed (a removal, an import).
    void entriesChangedHere(bool notes = true);

signals:
    // Folders, bookmarks or notes changed, here or in another program.
    void entriesChanged();
    // The set of noted verses and items changed.
    void notesChanged();
    // Entries went that can be put back (ReaderStore::restore).
    void removed(const ReaderRemoval &removed);

private:
    void readMarks();
    void writePlaces();
    NoteEditor *showEditor(NoteEditor *editor);
    QList<QPointer<NoteEditor>> editors() const;
    void tellOpened();

    QString m_path;
    ReaderStore m_store;
    QSet<quint64> m_noted;
    qint64 m_seenOthers = -1; // another program's changes, when the marks were read
    QTimer m_placeTimer;
    std::optional<ReaderRef> m_pendingPlace[2];
    bool m_placeFailureShown = false;
    bool m_openFailureShown = false;
    QString m_toldReadOnly;                            // the read-only reason told last
    QHash<quint64, QPointer<NoteEditor>> m_editors;    // the reader's own notes, by ref
    QHash<qint64, QPointer<NoteEditor>> m_keptEditors; // kept notes, by id
};
