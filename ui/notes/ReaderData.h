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

    // The store, opened on first use; a file moved aside then is told to the reader. Raises
    // an Error when it cannot be opened.
    ReaderStore &store();
    bool isOpen() const { return m_store.isOpen(); }
    // Opens the store, reporting a failure instead of raising it; answers whether it is open.
    bool open();

    // Where the reader stopped on a page.
    void recordPlace(ReaderStore::Slot slot, const ReaderRef &ref);
    // Writes the places not written yet.
    void flushPlaces();

    // Bookmarks the refs in the folder used last; answers how many were new.
    int addBookmarks(const std::vector<ReaderRef> &refs);

    bool hasNote(const ReaderRef &ref) const { return m_noted.contains(ref.key()); }
    // Opens the editor of the ref's note, or brings it to the front.
    NoteEditor *editNote(const ReaderRef &ref, QWidget *parent);
    // The open editors' texts are saved; false when one could not be (it stays open).
    bool saveOpenNotes();
    // A note was saved or removed from an editor.
    void noteSaved(const ReaderRef &ref, bool exists);

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

private:
    void readMarks();
    void writePlaces();

    QString m_path;
    ReaderStore m_store;
    QSet<quint64> m_noted;
    qint64 m_seenOthers = -1; // another program's changes, when the marks were read
    QTimer m_placeTimer;
    std::optional<ReaderRef> m_pendingPlace[2];
    bool m_placeFailureShown = false;
    QHash<quint64, QPointer<NoteEditor>> m_editors;
};
