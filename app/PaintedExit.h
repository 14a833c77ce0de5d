#pragma once

#include <QObject>

class QWidget;

// Ends the program once a window has been painted for the first time, writing that moment
// (the monotonic clock, in nanoseconds) as one line on standard output. Only the benchmark
// asks for it, through the environment variable KEVRAN_EXIT_AFTER_PAINT, to time a whole
// start from exec to the painted window.
class PaintedExit : public QObject {
public:
    static const char EnvironmentVariable[];

    // Watches the window when the environment asks for it; answers whether it does.
    static bool watchIfAsked(QWidget *window);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit PaintedExit(QWidget *window);
    void finish();

    bool m_pending = false;
};
