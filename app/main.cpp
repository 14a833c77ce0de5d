#include "app/PaintedExit.h"
#include "app/PlatformChoice.h"
#include "app/Program.h"
#include "app/QtTranslation.h"
#include "app/Tfrm_main.h"
#include "platform/KeyboardLayout.h"
#include "ui/main/Tmain.h"
#ifdef KEVRAN_HAVE_XKB
#include "platform/XkbKeyboardLayout.h"
#endif

#include <QApplication>
#include <QTimer>
#include <memory>

int main(int argc, char *argv[])
{
    if (!PlatformChoice::prepare(argc, argv))
        return 1;
    QApplication app(argc, argv);
    Program::setUpApplication(app);
    QtTranslation::install(app);
#ifdef KEVRAN_HAVE_XKB
    std::unique_ptr<XkbKeyboardLayout> keyboard;
    if (XkbKeyboardLayout::suitsSession()) {
        keyboard = std::make_unique<XkbKeyboardLayout>();
        KeyboardLayout::setCurrent(keyboard.get());
    }
#endif
    if (!Program::createWindows())
        return 1;

    // The main window's pages are not seen before a launcher button is pressed: they are made
    // while the reader looks at the launcher (unless the program ends once it has painted),
    // after the verse rows start-up left to read and the reader's own data is opened. Rows that
    // cannot be read end the program as a data module that cannot be created does.
    if (!PaintedExit::watchIfAsked(kevran::frm_main)) {
        kevran::main->makePagesWhenIdle(kevran::frm_main, [] {
            if (!Program::readVerseRows()) {
                QCoreApplication::exit(1);
                return;
            }
            kevran::main->openReaderData();
        });
    }
    kevran::frm_main->show();
    if (Program::terminationRequested())
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    const int status = app.exec();
    Program::destroyWindows();
    KeyboardLayout::setCurrent(nullptr);
    return status;
}
