#pragma once

#include "ui/search/HitTextView.h"

#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

class DataGrid;
class DataSet;
class DataSource;
class FieldBinding;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTextEdit;
class QTimer;

// The search page: one of four scopes searched for a word, as a whole word or anywhere; the
// hits listed in the result grid and coloured red in the result text.
class SearchPage : public QWidget {
    Q_OBJECT
public:
    // The text attributes a colour change acts on: the selection's when it holds at least one
    // character, else the view's default ones.
    class TextAttributes {
    public:
        explicit TextAttributes(QTextEdit *view)
            : m_view(view)
        {
        }
        void setColor(const QColor &color);

    private:
        QTextEdit *m_view;
    };

    struct Scope;

    // A coloured occurrence: the characters from, to of the result text.
    using Hit = HitTextView::Range;
    // The LIKE pattern a search runs with: in exact mode the typed text trimmed, between
    // blanks (the column is matched with a blank at each end), else the typed text as it is.
    static QString likePattern(const QString &typed, bool exact);
    // Where a search for the typed text colours a shown text: where the search's pattern
    // matches it, so that every row a search lists shows a hit. A hit in a word with marks
    // takes the whole word; nothing is coloured for a typed text of nothing but blanks.
    static std::vector<Hit> hitsOf(const QString &shown, const QString &typed, bool exact);
    const std::vector<Hit> &hits() const { return m_hits; }
    // Where the last search (before any, the search box's term) colours a shown text.
    std::vector<Hit> hitsIn(const QString &shown) const;

    explicit SearchPage(DataSource *results, QWidget *parent = nullptr);

    void s3Click();
    void s4Click();
    void s1Click();
    void s2Click();
    void BitBtn5Click();
    void DBRichEdit1Change();
    TextAttributes CurrText();
    void Timer2Timer(); // the count label follows the result set and the result text
    void N3Click();
    void Edit2Enter();
    void Edit2Click();

    QSplitter *Splitter2;
    HitTextView *DBRichEdit1;
    DataGrid *DbAltGrid4;
    QGroupBox *GroupBox5;
    QRadioButton *s3; // Quran text
    QRadioButton *s4; // Quran translation
    QRadioButton *s1; // Nahj al-Balagha text
    QRadioButton *s2; // Nahj al-Balagha translation
    QCheckBox *b1;
    QLineEdit *Edit2;
    QLabel *Label1;
    QLabel *s51;
    QPushButton *BitBtn5;
    QMenu *PopupMenu5;
    QAction *N3;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showResultText(const QString &text);
    void recolour(const QString *text);
    // Puts the rest of a long text in the view, if any is left to put.
    void appendRest();
    // A text as the view holds it.
    static QString viewText(const QString &text);
    const Scope &selectedScope() const;
    void selectScope(const Scope &scope);
    DataSet *results() const;

    DataSource *m_results;
    FieldBinding *m_text;
    std::vector<Hit> m_hits;
    // The typed text and the mode of the last search: the rows it listed are coloured by it,
    // whatever the box holds since. Before any search, the box and the check box colour.
    std::optional<std::pair<QString, bool>> m_searched;
    // The text the page last put in the view, whose first m_inView characters are there (the
    // rest follows once the window has painted, m_rest); m_textIsOurs until anything else
    // changes the view's text.
    QString m_shown;
    qsizetype m_inView = 0;
    bool m_textIsOurs = false;
    bool m_editing = false;
    QTimer *m_rest = nullptr;
};
