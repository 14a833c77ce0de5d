#pragma once

#include "ui/search/HitTextView.h"

#include <QWidget>
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
    // Where the term's occurrences are coloured in a shown text: found in the folded forms of
    // both, scanning on one character after each occurrence, and mapped back to the text.
    static std::vector<Hit> hitsOf(const QString &shown, const QString &term);
    const std::vector<Hit> &hits() const { return m_hits; }

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
    const Scope &selectedScope() const;
    void selectScope(const Scope &scope);
    DataSet *results() const;

    DataSource *m_results;
    FieldBinding *m_text;
    std::vector<Hit> m_hits;
};
