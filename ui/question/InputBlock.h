#pragma once

#include <QObject>

class QWidget;

// While it lives, input to a widget and everything in it goes nowhere: keys, mouse buttons,
// drags, context menus and touches. Hovering and the mouse wheel still go through, so the
// widget can be read and scrolled, and the rest of the application takes input as usual.
class InputBlock : public QObject {
    Q_OBJECT
public:
    explicit InputBlock(QWidget *blocked);
    ~InputBlock() override;

    static bool isInput(const QEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_blocked;
};
