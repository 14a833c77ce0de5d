// kevran-screenshot: renders the picture of the program that the package's software catalogue
// entry shows, the Quran page with the verses of sura al-Baqara. Run by hand, in a folder
// holding 1.db, when the picture is to change (under a virtual X server, for the desktop's real
// fonts):
//   kevran-screenshot packaging/screenshots/quran-page.png

#include "app/Program.h"
#include "app/Tfrm_main.h"
#include "ui/main/Tmain.h"
#include "ui/quran/QuranPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QTest>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: kevran-screenshot OUTPUT.png\n", stderr);
        return 2;
    }
    Program::setUpApplication(app);
    if (!Program::createWindows())
        return 1;

    kevran::frm_main->AdvToolButton3Click();
    kevran::main->showNormal();
    kevran::main->resize(1366, 768);
    if (!QTest::qWaitForWindowExposed(kevran::main))
        return 1;
    QuranPage *quran = kevran::main->TabSheet1.get();
    quran->ListBox5->setCurrentRow(1);
    quran->CheckBox1->click(); // the verses as a grid, each beside its translation
    QTest::qWait(200);

    const bool saved = kevran::main->grab().save(QString::fromLocal8Bit(argv[1]));
    if (!saved)
        std::fprintf(stderr, "kevran-screenshot: cannot write %s\n", argv[1]);
    Program::destroyWindows();
    return saved ? 0 : 1;
}
