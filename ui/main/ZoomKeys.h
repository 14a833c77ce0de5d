#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Ctrl with the mouse wheel, Ctrl+plus, Ctrl+minus and Ctrl+0 over an area of a window: each
// notch of the wheel or press of plus or minus is one step up or down, Ctrl+0 goes back to the
// start. The area's own widgets (text views zoom by themselves) never see these keys.
class ZoomKeys : public QObject {
    Q_OBJECT
public:
    ZoomKeys(QWidget *area, std::function<void(int steps)> step, std::function<void()> reset);

    // Also takes the keys and the wheel over a widget made after the area's others.
    void watch(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void(int)> m_step;
    std::function<void()> m_reset;
    int m_wheel = 0; // the angle turned and not yet taken as a step
};
