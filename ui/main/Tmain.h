#pragma once

#include <QFont>
#include <QPointer>
#include <QWidget>

class AboutPage;
class Connection;
class DataSet;
class DataSource;
class DisplaySettingsPage;
class NahjPage;
class QTabWidget;
class QuestionPage;
class QuranPage;
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

    // The creation step; an error in it is reported and skips the rest of the step.
    void FormCreate();
    // The close step: saves the sender settings, then closes the launcher.
    void FormClose();
    // The reaction to a page change made by the reader on the tabs.
    void PageControl1Change();

    // Brings a page to the front from code, without the page-change reaction.
    void setActivePage(QWidget *page);
    // The window whose closing ends the program; the close step closes it.
    void setApplicationMainWindow(QWidget *window) { m_applicationMainWindow = window; }

    QTabWidget *PageControl1;
    QuranPage *TabSheet1;
    NahjPage *TabSheet2;
    SearchPage *TabSheet3;
    QuestionPage *TabSheet4;
    DisplaySettingsPage *TabSheet5;
    AboutPage *TabSheet6;

    Connection *ADOConnection1;
    DataSet *ADOQuery1;      // the book set
    DataSet *ADOQuery2;      // the book lookup set
    DataSource *DataSource1; // the verse set
    DataSource *DataSource2; // the result set
    DataSource *DataSource3; // the book set

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QPointer<QWidget> m_applicationMainWindow;
    bool m_selectingFromCode = false;
};
