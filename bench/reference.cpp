// kevran-reference: the floor of a whole start, an empty Qt Widgets window with one Persian
// label, painted, then ended (with KEVRAN_EXIT_AFTER_PAINT set, as the benchmark runs it).

#include "app/PaintedExit.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setLayoutDirection(Qt::RightToLeft);
    window.resize(734, 532);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("بسم الله الرحمن الرحيم")));
    PaintedExit::watchIfAsked(&window);
    window.show();
    return app.exec();
}
