#pragma once

#include <QWidget>

class QTabWidget;

// The Quran page (first page of the main window).
class QuranPage : public QWidget {
    Q_OBJECT
public:
    explicit QuranPage(QWidget *parent = nullptr);

    // Brings the side tab control's sura list tab to the front.
    void showSuraListTab();

    QTabWidget *PageControl2; // the side tab control
    QWidget *TabSheet7;       // topic list tab
    QWidget *TabSheet8;       // sura list tab
};
