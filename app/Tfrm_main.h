#pragma once

#include <QWidget>

class FlatButton;
class QGroupBox;
class QLabel;

// The launcher: a borderless window with the product's picture and seven buttons. Closing it
// ends the program.
class Tfrm_main : public QWidget {
    Q_OBJECT
public:
    static const QString Caption;

    explicit Tfrm_main(QWidget *parent = nullptr);

    // The creation step, run once after construction.
    void FormCreate();

    void AdvToolButton3Click(); // Quran page
    void AdvToolButton4Click(); // Nahj page
    void AdvToolButton7Click(); // search page
    void AdvToolButton1Click(); // about page
    void AdvToolButton8Click(); // question page, for a message not about a verse
    void AdvToolButton2Click(); // display settings page
    void AdvToolButton6Click(); // exit

    QLabel *Image1;
    QGroupBox *GroupBox1;
    FlatButton *AdvToolButton3;
    FlatButton *AdvToolButton4;
    FlatButton *AdvToolButton7;
    FlatButton *AdvToolButton1;
    FlatButton *AdvToolButton8;
    FlatButton *AdvToolButton2;
    FlatButton *AdvToolButton6;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    FlatButton *addButton(const char *name, const QString &caption, int top,
                          void (Tfrm_main::*handler)());
    void openPage(QWidget *page);

    bool m_centred = false;
};
