#pragma once

#include <QObject>

class QAbstractButton;
class QWidget;

// A page's default button: Enter pressed on the page presses the button that has the focus,
// or else the default one.
class DefaultButton : public QObject {
    Q_OBJECT
public:
    static void install(QWidget *page, QAbstractButton *button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DefaultButton(QWidget *page, QAbstractButton *button);

    QWidget *m_page;
    QAbstractButton *m_button;
};
