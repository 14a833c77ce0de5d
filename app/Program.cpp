#include "app/Program.h"

#include "app/Tfrm_main.h"
#include "data/DataSet.h"
#include "data/DataSource.h"
#include "data/TDataModule2.h"
#include "platform/Error.h"
#include "platform/Messages.h"
#include "settings/TranslationSetting.h"
#include "ui/main/Tmain.h"

#include <QApplication>
#include <QFont>

namespace kevran {
Tfrm_main *frm_main = nullptr;
Tmain *main = nullptr;
TDataModule2 *DataModule2 = nullptr;
} // namespace kevran

namespace {
bool g_terminationRequested = false;
}

void Program::setUpApplication(QApplication &app)
{
    app.setApplicationName(QStringLiteral("kevran"));
    app.setOrganizationName(QString());
    // The desktop entry's name, so that the desktop matches the window to its entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KEVRAN_APP_ID));
    app.setQuitOnLastWindowClosed(false);
    // The window font's face is not on Linux desktops; these shape Persian and Arabic well.
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("Noto Sans Arabic UI"),
                                QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Sans"),
                                QStringLiteral("DejaVu Sans")});
    // Controls are often made before they are placed in their window: with the windows' font
    // as the application's, they are measured once, in the one font the program shows.
    QApplication::setFont(Tmain::defaultFont());
    g_terminationRequested = false;
}

bool Program::createWindows()
{
    kevran::frm_main = new Tfrm_main;
    kevran::frm_main->FormCreate();

    kevran::main = new Tmain;
    kevran::main->setApplicationMainWindow(kevran::frm_main);
    kevran::main->FormCreate();

    kevran::DataModule2 = new TDataModule2;
    kevran::DataModule2->setTranslation(TranslationSetting::load());
    kevran::main->DataSource1->setDataSet(kevran::DataModule2->ADOQuery1);
    kevran::main->DataSource2->setDataSet(kevran::DataModule2->ADOQuery2);
    // The main window's own connection meets a fault of the database first and reports it;
    // the same fault met again here ends the program without a second report of it.
    try {
        kevran::DataModule2->DataModuleCreate();
    } catch (const Error &e) {
        if (e.message() != kevran::main->creationError())
            Messages::showError(e.message());
        destroyWindows();
        return false;
    } catch (const std::exception &e) {
        Messages::showError(QString::fromLocal8Bit(e.what()));
        destroyWindows();
        return false;
    }
    return true;
}

bool Program::readVerseRows()
{
    return Messages::guard([] {
        if (kevran::DataModule2)
            kevran::DataModule2->ADOQuery1->fetchAll();
    });
}

void Program::destroyWindows()
{
    delete kevran::DataModule2;
    kevran::DataModule2 = nullptr;
    delete kevran::main;
    kevran::main = nullptr;
    delete kevran::frm_main;
    kevran::frm_main = nullptr;
}

void Program::requestTermination()
{
    g_terminationRequested = true;
    QCoreApplication::quit();
}

bool Program::terminationRequested()
{
    return g_terminationRequested;
}
