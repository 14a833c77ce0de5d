#include "app/Program.h"
#include "app/Tfrm_main.h"
#include "data/DataSet.h"
#include "doubles/MemoryColorChooser.h"
#include "doubles/MemoryDialogs.h"
#include "support/ProgramFixture.h"
#include "ui/main/AboutPage.h"
#include "ui/main/ColourPair.h"
#include "ui/main/FlatButton.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/search/HitTextView.h"
#include "ui/search/SearchPage.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>
#include <QTreeWidget>
#include <map>

namespace {

// A desktop's dark palette, as a dark colour scheme of the desktop sets it.
QPalette darkPalette()
{
    QPalette dark;
    const QColor window(0x2b, 0x2b, 0x2b), base(0x1e, 0x1e, 0x1e), text(0xee, 0xee, 0xee);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::ToolTipBase, QColor(0x40, 0x40, 0x40));
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::Midlight, QColor(0x45, 0x45, 0x45));
    dark.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    dark.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

// The contrast of a drawn text: its background is the colour most of the picture has, its ink
// the pixel that stands out most from it.
double drawnContrast(const QImage &image)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    const QColor paper(std::max_element(counts.begin(), counts.end(), [](auto &a, auto &b) {
                           return a.second < b.second;
                       })->first);
    double best = 1;
    for (const auto &[rgb, count] : counts)
        best = std::max(best, ColourPair::contrast(QColor(rgb), paper));
    return best;
}

} // namespace

// Under a dark desktop palette every text the program shows on a background of its own reads:
// pictures of the panes, labels and buttons, their text's contrast measured.
class tst_DarkPalette : public QObject {
    Q_OBJECT

    void check(QWidget *widget, const QString &what)
    {
        QVERIFY2(widget->isVisible(), qPrintable(what + " is not shown"));
        // As the window draws it, with whatever lies behind the widget.
        QWidget *window = widget->window();
        const QImage image =
            window->grab(QRect(widget->mapTo(window, QPoint(0, 0)), widget->size())).toImage();
        const QString dir = QStringLiteral(KEVRAN_SCREENSHOT_DIR "/dark");
        QDir().mkpath(dir);
        image.save(QDir(dir).filePath(what + QStringLiteral(".png")));
        const double contrast = drawnContrast(image);
        QVERIFY2(contrast >= 4.5,
                 qPrintable(QStringLiteral("%1: contrast %2").arg(what).arg(contrast)));
    }

private slots:
    void initTestCase()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(darkPalette());
    }

    void everyPageReads()
    {
        MemoryDialogs dialogs;
        ProgramFixture program;
        QVERIFY(program.started());
        Tfrm_main *launcher = kevran::frm_main;
        launcher->show();
        QVERIFY(QTest::qWaitForWindowExposed(launcher));
        launcher->grab().save(QStringLiteral(KEVRAN_SCREENSHOT_DIR "/dark/launcher.png"));
        for (FlatButton *button : launcher->findChildren<FlatButton *>())
            check(button, QStringLiteral("launcher-") + button->objectName());
        launcher->hide();

        Tmain *window = program.window();
        window->resize(1366, 768);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));

        // The Quran page, with the background the display settings restore (the window's
        // white) on its panes.
        QuranPage *quran = window->TabSheet1.get();
        MemoryColorChooser colors;
        colors.setEdit([](QColor &color, QList<QColor> &) { color = Qt::white; });
        window->TabSheet5.get()->QuranColorButton->click();
        window->TabSheet5.get()->BookColorButton->click();
        window->setActivePage(quran);
        quran->ListBox5->setCurrentRow(1);
        QCoreApplication::processEvents();
        check(quran->DBMemo1->viewport(), QStringLiteral("quran-arabic"));
        check(quran->DBMemo2->viewport(), QStringLiteral("quran-translation"));
        check(quran->ListBox5->viewport(), QStringLiteral("quran-suras"));
        check(quran->Panel2, QStringLiteral("quran-banner"));
        for (QLabel *label : {quran->DBText1, quran->DBText2, quran->DBText3})
            check(label, QStringLiteral("quran-status-") + label->objectName());
        quran->PageControl2->setCurrentWidget(quran->TabSheet7);
        QCoreApplication::processEvents();
        check(quran->findChild<FlatButton *>(QStringLiteral("aa")), QStringLiteral("quran-topic"));
        quran->findChild<FlatButton *>(QStringLiteral("aa"))->click();
        check(quran->Topic, QStringLiteral("quran-topic-name"));

        NahjPage *nahj = window->TabSheet2.get();
        window->setActivePage(nahj);
        nahj->TreeView1->setCurrentItem(nahj->TreeView1->topLevelItem(0)->child(0));
        nahj->TreeView1Click();
        QCoreApplication::processEvents();
        check(nahj->DBMemo4->viewport(), QStringLiteral("nahj-text"));
        check(nahj->DBMemo3->viewport(), QStringLiteral("nahj-translation"));
        check(nahj->TreeView1->viewport(), QStringLiteral("nahj-tree"));
        check(nahj->DBText4, QStringLiteral("nahj-title"));

        SearchPage *search = window->TabSheet3.get();
        window->setActivePage(search);
        search->BitBtn5->click();
        QCoreApplication::processEvents();
        check(search->DBRichEdit1->viewport(), QStringLiteral("search-text"));
        check(search->s51, QStringLiteral("search-count"));

        window->setActivePage(window->TabSheet4.get());
        QCoreApplication::processEvents();
        check(window->TabSheet4.get()->Memo3->viewport(), QStringLiteral("question-instructions"));

        window->setActivePage(window->TabSheet6.get());
        QCoreApplication::processEvents();
        check(window->TabSheet6.get()->Memo2->viewport(), QStringLiteral("about-text"));

        // Every page whole, to be looked at.
        for (int i = 0; i < window->PageControl1->count(); ++i) {
            window->PageControl1->setCurrentIndex(i);
            QCoreApplication::processEvents();
            window->grab().save(
                QStringLiteral(KEVRAN_SCREENSHOT_DIR "/dark/page-%1.png").arg(i + 1));
        }
    }
};

QTEST_MAIN(tst_DarkPalette)
#include "tst_darkpalette.moc"
