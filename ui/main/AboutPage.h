#pragma once

#include <QStringList>
#include <QWidget>

class QGroupBox;
class QPlainTextEdit;
class QPushButton;

// The about page: the product's text and the button that opens its web site.
class AboutPage : public QWidget {
    Q_OBJECT
public:
    explicit AboutPage(QWidget *parent = nullptr);

    // The lines of the about text as the page shows them.
    static QStringList aboutLines();

    void btnWebSiteClick();

    QGroupBox *GroupBox1;
    QPlainTextEdit *Memo2;
    QPushButton *btnWebSite;
};
