#include "app/Program.h"
#include "app/Tfrm_main.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Program::setUpApplication(app);
    if (!Program::createWindows())
        return 1;

    kevran::frm_main->show();
    if (Program::terminationRequested())
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    const int status = app.exec();
    Program::destroyWindows();
    return status;
}
