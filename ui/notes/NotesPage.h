#pragma once

#include "reader/ReaderStore.h"
#include "reader/TextOpenings.h"

#include <QWidget>
#include <functional>

class BookmarkTreeModel;
class NoteListModel;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTreeView;
class ReaderData;

// The reader's own page: where the reader stopped, the bookmark folders with their bookmarks,
// and the notes, narrowed by a filter as the reader types. Entries open their verse or item;
// removals are confirmed and can be undone; everything can be exported to a file and merged
// back from one.
class NotesPage : public QWidget {
    Q_OBJECT
public:
    static const QString Caption;
    // How much of each note the list reads.
    static constexpr int NoteHeadLength = 200;

    // openings: the first words of the verses and the items' titles, read from the text
    // database when the page first needs them (it may raise).
    NotesPage(ReaderData *reader, std::function<void(TextOpenings &)> loadOpenings,
              QWidget *parent = nullptr);

    // Reads the entries again when they changed since they were shown (here or in another
    // program), and the places.
    void refresh();
    // Reads everything again.
    void reload();

    // The reader's commands.
    void ContinueQuranClick();
    void ContinueNahjClick();
    void NewFolderClick();
    void RenameEntryClick();
    void DeleteEntryClick();
    void UndoRemovalClick();
    void EditNoteClick();
    void ExportClick();
    void ImportClick();
    // Opens the verse or item of the bookmark or note.
    void openEntry(const ReaderRef &ref);

    QPushButton *ContinueQuran;
    QPushButton *ContinueNahj;
    QLineEdit *BookmarkFilter;
    QTreeView *BookmarkTree;
    QListView *NoteList;
    QPushButton *NewFolder;
    QPushButton *RenameEntry;
    QPushButton *DeleteEntry;
    QPushButton *UndoRemoval;
    QPushButton *EditNote;
    QPushButton *ExportButton;
    QPushButton *ImportButton;

    BookmarkTreeModel *bookmarkModel() const { return m_bookmarks; }
    NoteListModel *noteModel() const { return m_notes; }

signals:
    // The reader asked for a verse or an item.
    void openRequested(const ReaderRef &ref);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyFilter();
    void expandBookmarks();
    void showPlaces();
    // The folder the selection is in, or is (0 for none).
    qint64 selectedFolder() const;
    bool confirmRemoval(const QString &what);
    void afterRemoval(const ReaderRemoval &removed);
    // Entries taken out here or from an editor: the undo button puts them back.
    void keepForUndo(const ReaderRemoval &removed);
    bool importCheck(const ReaderRef &ref);

    ReaderData *m_data;
    std::function<void(TextOpenings &)> m_loadOpenings;
    TextOpenings m_openings;
    BookmarkTreeModel *m_bookmarks;
    NoteListModel *m_notes;
    qint64 m_shownStamp = -1;
    std::optional<ReaderRef> m_places[2];
    ReaderRemoval m_lastRemoval;
    bool m_noteListActive = false;
};
