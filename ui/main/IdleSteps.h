#pragma once

#include <QMetaObject>
#include <QObject>
#include <functional>

class QWidget;

// Runs a piece of work in steps while the event loop is otherwise idle: nothing until the given
// window has painted for the first time, then one step each time the loop is about to wait for
// events, so that input and painting go first. A step returns false when nothing is left; the
// object then deletes itself. No timer runs meanwhile. A step that waits in an event loop of its
// own (a message shown) is not joined by the next step.
class IdleSteps : public QObject {
    Q_OBJECT
public:
    using Step = std::function<bool()>;

    IdleSteps(QWidget *afterPaintOf, Step step, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void idle();
    void runStep();

    Step m_step;
    QMetaObject::Connection m_idle;
    bool m_queued = false;
    bool m_running = false;
};
