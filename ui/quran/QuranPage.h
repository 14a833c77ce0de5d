#pragma once

#include "data/Topics.h"
#include "reader/ReaderRef.h"
#include "ui/notes/NotePane.h"

#include <QWidget>
#include <optional>
#include <vector>

class DataSet;
class DataSource;
class FlatButton;
class PaneMenu;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSlider;
class QStackedWidget;
class QTabWidget;
class ReaderData;
class VerseGrid;

// The Quran page: the verse set shown verse by verse or as a grid, sura and verse navigation,
// the topical index and the quick search.
class QuranPage : public QWidget {
    Q_OBJECT
public:
    static const QString Basmala;

    explicit QuranPage(DataSource *verses, QWidget *parent = nullptr);

    // The source the page shows the verse set through.
    DataSource *verseSource() const { return m_verses; }

    // Brings the side tab control's sura list tab to the front.
    void showSuraListTab();

    // The reader's own data: bookmarks and notes of verses. Without it the commands are hidden.
    void setReader(ReaderData *reader);
    // Lists the verse's sura in the verse set, with that verse current.
    void showVerse(int sura, int number);
    static void goToVerse(DataSet *set, int sura, int number);
    // The current verse of the verse set, if it stands on one.
    std::optional<ReaderRef> currentVerse() const;
    // The verses selected in the grid, or the current verse when none is.
    std::vector<ReaderRef> chosenVerses() const;
    // Bookmarks the chosen verses in the folder used last.
    void AddBookmarkClick();
    // Opens the current verse's note.
    void EditNoteClick();

    // Display.
    void TrackBar3Change();
    void CheckBox1Click();
    void AdvToolButton1Click();
    void Timer1Timer(); // the basmala banner follows the current row
    void Timer3Timer(); // the topic name group follows the side tab
    void Copy2Click();
    void MoreComent1Click();
    // The selected verses, each as its Arabic text, its translation and its reference, with an
    // empty line between verses; the current row moves as with the other copy commands.
    void CopyWithReferenceClick();
    // The current verse in the same form, from a verse pane's context menu.
    void CopyVerseWithReferenceClick();
    // A verse's reference as it follows a copied verse: "(سوره النساء، آيه ۱۲۵)".
    static QString verseReference(int sura, int verse);

    // Navigation.
    void ListBox5Click();
    void chapterChange();
    void verseChange();
    void chapterEnter();
    void chapterExit();
    void chapterClick();
    void verseEnter();
    void verseExit();
    void verseClick();
    void BitBtn1Click();
    void BitBtn2Click();
    // Enter in the sura box or the verse box goes to the verse instead of pressing the page's
    // default button.
    void chapterReturn();
    void verseReturn();
    // The go-to box: lists the sura of the verse it names, with that verse current.
    void GotoBoxReturn();

    // Topical index: each topic button runs its own handler, named after the button.
#define KEVRAN_TOPIC_HANDLER(button, code, caption)                                                \
    void button##Click()                                                                           \
    {                                                                                              \
        topicButtonClick(#button);                                                                 \
    }
    KEVRAN_TOPICS(KEVRAN_TOPIC_HANDLER)
#undef KEVRAN_TOPIC_HANDLER
    void bChange();

    // Quick search.
    void BitBtn6Click();
    void Edit1Enter();
    void Edit1Exit();

    // Status panel.
    QWidget *Panel1;
    QGroupBox *GroupBox8;
    QRadioButton *ar;
    QRadioButton *fa;
    QLineEdit *Edit1;
    QPushButton *BitBtn6;
    QLineEdit *b;
    QLabel *DBText1; // current sura number
    QLabel *DBText2; // current sura name
    QLabel *DBText3; // current verse number
    QLineEdit *chapter;
    QLineEdit *verse;
    QLabel *chapterLabel;
    QLabel *verseLabel;
    QLabel *GotoLabel;
    QLineEdit *GotoBox;

    // Banner, control strip, side tabs and verse views.
    QLabel *Panel2;  // the basmala banner
    QWidget *Panel3; // the control strip
    QSlider *TrackBar3;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
    FlatButton *AdvToolButton1;
    QGroupBox *GroupBox2; // "topic name"
    QLabel *Topic;
    QCheckBox *CheckBox1;
    QTabWidget *PageControl2;
    QWidget *TabSheet7; // topic list tab
    QWidget *TabSheet8; // sura list tab
    QListWidget *ListBox5;
    QScrollArea *ScrollBox1;
    QStackedWidget *Views;
    QWidget *Panes;
    NotePane *DBMemo1; // Arabic pane
    NotePane *DBMemo2; // translation pane
    VerseGrid *DbAltGrid3;
    QMenu *PopupMenu3;
    QAction *Copy2;
    QAction *MoreComent1;
    QAction *CopyWithReference;
    PaneMenu *PopupMenu6; // context menu of the verse panes
    QAction *CopyPaneText;
    QAction *CopyVerseWithReference;
    QAction *AddBookmark; // Ctrl+D anywhere on the page, and in the grid's and panes' menus
    QAction *EditNote;

signals:
    // The question button asks the main window for the question page.
    void questionRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DataSet *verses() const;
    void copyColumn(const QString &column);
    QString verseWithReference(int row) const;
    void topicButtonClick(const char *button);
    void buildStatusPanel();
    void buildControlStrip();
    void buildSideTabs();
    void buildViews();
    QWidget *buildGotoRow();
    void fitSideTabs();
    void followTheme();

    void showNoteMarks();

    DataSource *m_verses;
    ReaderData *m_reader = nullptr;
    QWidget *m_topicButtons = nullptr;
    bool m_suraListMousePressed = false;
    bool m_suraListMoved = false; // the selection moved while the button was down
};
