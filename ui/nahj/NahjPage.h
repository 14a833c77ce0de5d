#pragma once

#include "reader/ReaderRef.h"
#include "ui/notes/NotePane.h"

#include <QWidget>
#include <optional>

class DataSet;
class DataSource;
class FieldBinding;
class PaneMenu;
class QGroupBox;
class QAction;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QSlider;
class QSplitter;
class QTreeWidget;
class ReaderData;

// The Nahj al-Balagha page: the contents tree of sections and items, the chosen item's text
// and translation, a font size slider and the choice of view.
class NahjPage : public QWidget {
    Q_OBJECT
public:
    // book: the source over the book set, through which the panes show the chosen item.
    explicit NahjPage(DataSource *book, QWidget *parent = nullptr);

    // Mirrors the contents tree right to left and removes all nodes.
    void prepareContentsTree();
    // Adds a node for every section and, under it, one for every item of that section, through
    // the book set and the book lookup set, and closes both. Errors propagate; the nodes added
    // until then stay.
    void buildContentsTree(DataSet *book, DataSet *lookup);

    // Shows the selected node's item; a section node looks up its introduction.
    void itemLookup();
    void TreeView1Click() { itemLookup(); }
    void TreeView1KeyDown() { itemLookup(); }
    void TreeView1KeyUp() { itemLookup(); }
    void TrackBar1Change();
    void RadioButton7Click();
    void RadioButton8Click();
    // The pane's selected text, or its whole item when nothing is selected, followed on a line
    // of its own by the item's reference: "(نهج البلاغه، خطبه ۲۷)".
    void copyItemWithReference(QPlainTextEdit *pane);

    // The reader's own data: bookmarks and notes of items. Without it the commands are hidden.
    void setReader(ReaderData *reader);
    // Selects the item in the contents tree and shows it (code: its section, 0 for the preface).
    void showItem(int code, int id);
    // The item the panes show, if any.
    std::optional<ReaderRef> shownItem() const;
    void AddBookmarkClick();
    void EditNoteClick();

    QTreeWidget *TreeView1;
    QSplitter *Splitter1;
    NotePane *DBMemo4; // the Arabic text
    NotePane *DBMemo3; // the Persian translation
    QLabel *DBText4;   // the item's title
    QLabel *Label2;
    QSlider *TrackBar1;
    QGroupBox *GroupBox6;
    QRadioButton *RadioButton7; // translation only
    QRadioButton *RadioButton8; // text and translation
    PaneMenu *PopupMenu7;       // context menu of the two panes
    QAction *CopyBookText;
    QAction *CopyItemWithReference;
    QAction *AddBookmark; // Ctrl+D anywhere on the page, and in the panes' menu
    QAction *EditNote;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void bindPanes(bool bound);
    void showNoteMarks();
    void followTheme();

    DataSource *m_book;
    FieldBinding *m_text;
    FieldBinding *m_translation;
    FieldBinding *m_title;
    ReaderData *m_reader = nullptr;
};
