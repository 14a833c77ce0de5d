#pragma once

#include <QObject>
#include <QSize>

class QWidget;

// Keeps a window from being made smaller than the size it was designed for, or than its
// layout needs where that is more (a larger font), so that no control is ever cut off. On a
// screen smaller than the design the window may shrink to the screen, down to what its layout
// needs.
class MinimumSize : public QObject {
    Q_OBJECT
public:
    static void keep(QWidget *window, const QSize &designed);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MinimumSize(QWidget *window, const QSize &designed);
    void update(QWidget *window);

    QSize m_designed;
};
