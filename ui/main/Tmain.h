#pragma once

#include "ui/main/LazyPage.h"
#include "ui/question/QuestionPage.h"

#include <QFont>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class AboutPage;
class Connection;
class DataSet;
class DataSource;
class DisplaySettingsPage;
class NahjPage;
class NotesPage;
class PrintCommands;
class QTabWidget;
class QuranPage;
class ReaderData;
struct ReaderRef;
class SearchPage;

// The main window: six pages in a tab control, the window's own database connection with the
// book set and the book lookup set, and the data bindings the pages show through.
class Tmain : public QWidget {
    Q_OBJECT
public:
    static const QString Caption;
    // The window font before any setting is restored: Tahoma at 8 points as the font settings
    // hold it, 11 pixels high, so that confirming it unchanged in the chooser changes nothing.
    static QFont defaultFont();

    explicit Tmain(QWidget *parent = nullptr);
    ~Tmain() override;

    // The creation step; an error in it is reported and skips the rest of the step.
    void FormCreate();
    // The error the creation step reported; empty when it finished.
    const QString &creationError() const { return m_creationError; }
    // The close step: saves the sender settings, then closes the launcher.
    void FormClose();
    // The reaction to a page change made by the reader on the tabs.
    void PageControl1Change();

    // Brings a page to the front from code, without the page-change reaction.
    void setActivePage(QWidget *page);
    // Makes every page not made yet. Showing the window does it first, so that no tab ever
    // shows an empty page.
    void makePages();
    // Runs `first`, then makes the pages not made yet one by one, each when the event loop has
    // nothing else to do, once the given window has painted for the first time.
    void makePagesWhenIdle(QWidget *afterPaintOf, std::function<void()> first = {});
    // Opens the reader's own data (after the launcher has painted): from then on the places
    // are recorded as the reader moves, and the program starts on the last verse when the
    // reader asked for it.
    void openReaderData();
    // Shows a verse on the Quran page, or an item on the Nahj page, and brings it to the front.
    void openRef(const ReaderRef &ref);
    // The window whose closing ends the program; the close step closes it.
    void setApplicationMainWindow(QWidget *window) { m_applicationMainWindow = window; }

    QTabWidget *PageControl1;
    // Each page is made when it is first used, or when the window is first shown. Until then
    // its tab holds an empty widget of the page's name.
    LazyPage<QuranPage> TabSheet1;
    LazyPage<NahjPage> TabSheet2;
    LazyPage<SearchPage> TabSheet3;
    LazyPage<QuestionPage> TabSheet4;
    LazyPage<DisplaySettingsPage> TabSheet5;
    LazyPage<AboutPage> TabSheet6;
    // The reader's own page: places, bookmarks and notes.
    LazyPage<NotesPage> NotesSheet;
    ReaderData *Reader;

    Connection *ADOConnection1;
    DataSet *ADOQuery1;      // the book set
    DataSet *ADOQuery2;      // the book lookup set
    DataSource *DataSource1; // the verse set
    DataSource *DataSource2; // the result set
    DataSource *DataSource3; // the book set
    PrintCommands *Printing; // printing and PDF of the page in front

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Puts a page just made in its tab, in place of the empty widget there, leaving the current
    // tab as it was and running no page-change reaction.
    template <typename T> T *place(int index, T *page);
    // Makes the page of that tab (0 to 5) if it was not made yet.
    void makePage(int index);
    QuranPage *makeQuranPage();
    NahjPage *makeNahjPage();
    QuestionPage *makeQuestionPage();
    DisplaySettingsPage *makeDisplaySettingsPage();
    NotesPage *makeNotesPage();
    void recordQuranPlace();
    void recordNahjPlace();

    QPointer<QWidget> m_applicationMainWindow;
    bool m_selectingFromCode = false;
    // The sender settings read at creation, for a question page made later.
    std::optional<QuestionPage::Sender> m_sender;
    QString m_creationError;
};
