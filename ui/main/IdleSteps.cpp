#include "ui/main/IdleSteps.h"

#include <QAbstractEventDispatcher>
#include <QEvent>
#include <QWidget>

IdleSteps::IdleSteps(QWidget *afterPaintOf, Step step, QObject *parent)
    : QObject(parent)
    , m_step(std::move(step))
{
    afterPaintOf->installEventFilter(this);
}

bool IdleSteps::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && !m_idle) {
        watched->removeEventFilter(this);
        if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(thread()))
            m_idle = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                             &IdleSteps::idle);
    }
    return false;
}

void IdleSteps::idle()
{
    // The step runs from the loop's queue, not inside the dispatcher's own call.
    if (m_queued || m_running)
        return;
    m_queued = true;
    QMetaObject::invokeMethod(this, &IdleSteps::runStep, Qt::QueuedConnection);
}

void IdleSteps::runStep()
{
    m_queued = false;
    m_running = true;
    const bool more = m_step();
    m_running = false;
    if (more)
        return;
    disconnect(m_idle);
    deleteLater();
}
