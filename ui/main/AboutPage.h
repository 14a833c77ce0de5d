#pragma once

#include <QStringList>
#include <QWidget>

class DataSource;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;

// The about page: the product's text and the button that opens its web site.
class AboutPage : public QWidget {
    Q_OBJECT
public:
    // verses: the verse set's source; its connection names the Quran translation in use and
    // holds the notices of the texts.
    explicit AboutPage(DataSource *verses = nullptr, QWidget *parent = nullptr);

    // The lines of the about text as the page shows them: the Quran translation's credit
    // names the translator of the translation in use, read from the text database.
    QStringList aboutLines() const;
    // Shows the about text anew; done whenever the page is shown and the translation changes.
    void refresh();
    // The credit for a translator as the text database names them ("Hussain Ansarian",
    // "انصاریان"): the title and full name for a known translator, else the Persian name.
    static QString translatorCredit(const QString &translator, const QString &persianName);

    void btnWebSiteClick();

    QGroupBox *GroupBox1;
    QPlainTextEdit *Memo2;
    QPushButton *btnWebSite;

protected:
    void showEvent(QShowEvent *event) override;

private:
    DataSource *m_verses;
};
