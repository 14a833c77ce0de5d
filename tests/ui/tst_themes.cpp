#include "app/Program.h"
#include "app/Tfrm_main.h"
#include "doubles/MemoryColorChooser.h"
#include "doubles/MemoryDialogs.h"
#include "platform/ConfigLocation.h"
#include "support/ProgramFixture.h"
#include "ui/main/AboutPage.h"
#include "ui/main/Theme.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"
#include "ui/search/SearchPage.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <cmath>
#include <memory>

namespace {

double luminance(QRgb colour)
{
    const auto channel = [](int value) {
        const double s = value / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(colour)) + 0.7152 * channel(qGreen(colour)) +
           0.0722 * channel(qBlue(colour));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The ground of a grabbed text view is its most frequent colour; its text is the colour of the
// pixels that stand out from the ground the most, the glyphs' cores.
QRgb groundOf(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000];
    QRgb ground = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            ground = it.key();
        }
    }
    return ground;
}

double textContrast(const QImage &image)
{
    const QRgb ground = groundOf(image);
    double best = 1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            best = std::max(best, contrast(ground, image.pixel(x, y)));
    return best;
}

int pixelsNear(const QImage &image, QColor colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                24)
                ++count;
        }
    }
    return count;
}

} // namespace

// The themes over the real program: every page drawn in each, the day theme exactly as
// before, the reader's colours on top, the choice kept.
class tst_Themes : public QObject {
    Q_OBJECT

    std::unique_ptr<MemoryDialogs> m_dialogs;
    std::unique_ptr<ProgramFixture> m_program;

    Tmain *start()
    {
        m_program = std::make_unique<ProgramFixture>();
        if (!m_program->started())
            return nullptr;
        Tmain *window = m_program->window();
        window->resize(1366, 768);
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            return nullptr;
        // Sura 2, Letter 53 and a search with hits.
        QuranPage *quran = window->TabSheet1.get();
        quran->ListBox5->setCurrentRow(1);
        quran->ListBox5Click();
        NahjPage *nahj = window->TabSheet2.get();
        nahj->TreeView1->setCurrentItem(nahj->TreeView1->topLevelItem(1)->child(52));
        nahj->itemLookup();
        SearchPage *search = window->TabSheet3.get();
        search->Edit2->setText(QStringLiteral("رحمت"));
        search->s4->setChecked(true);
        search->s4Click();
        search->BitBtn5Click();
        return window;
    }

    QList<QWidget *> pages(Tmain *window)
    {
        return {window->TabSheet1.get(), window->TabSheet2.get(), window->TabSheet3.get(),
                window->TabSheet4.get(), window->TabSheet5.get(), window->TabSheet6.get()};
    }

    QImage grabPage(Tmain *window, QWidget *page)
    {
        window->setActivePage(page);
        QApplication::processEvents();
        return window->grab().toImage();
    }

    void choose(Tmain *window, Theme::Kind kind)
    {
        QComboBox *box = window->TabSheet5.get()->ThemeBox;
        box->setCurrentIndex(box->findData(Theme::id(kind)));
        QApplication::processEvents();
    }

    static QByteArray stored()
    {
        QFile file(ConfigLocation::filePath(QStringLiteral("Theme")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        m_dialogs = std::make_unique<MemoryDialogs>();
        // The program's configuration folder, which is named after it.
        QCoreApplication::setApplicationName(QStringLiteral("kevran"));
        for (const char *name : {"Theme", "Quran", "Book", "ALL", "QuranColor", "BookColor"})
            QFile::remove(ConfigLocation::filePath(QLatin1String(name)));
    }

    void cleanup()
    {
        Theme::current().setKind(Theme::Day);
        m_program.reset();
        m_dialogs.reset();
    }

    // Night and paper repaint every page; back to day, each page is the same image as before
    // any theme was chosen. Each theme's pictures are kept for a person to look at.
    void dayComesBackPixelForPixel()
    {
        Tmain *window = start();
        QVERIFY(window);
        QList<QImage> day;
        for (QWidget *page : pages(window))
            day.append(grabPage(window, page));
        const QString dir = QStringLiteral(KEVRAN_SCREENSHOT_DIR);
        QDir().mkpath(dir);
        for (const Theme::Kind kind : {Theme::Night, Theme::Paper, Theme::Day}) {
            choose(window, kind);
            QCOMPARE(Theme::current().kind(), kind);
            QCOMPARE(stored(), Theme::id(kind).toUtf8() + '\n');
            kevran::frm_main->grab().save(
                QDir(dir).filePath(QStringLiteral("theme-%1-launcher.png").arg(Theme::id(kind))));
            for (int i = 0; i < pages(window).size(); ++i) {
                const QImage image = grabPage(window, pages(window)[i]);
                image.save(QDir(dir).filePath(
                    QStringLiteral("theme-%1-%2.png").arg(Theme::id(kind)).arg(i + 1)));
                if (kind == Theme::Day)
                    QVERIFY2(image == day[i], qPrintable(QStringLiteral("page %1").arg(i + 1)));
                else
                    QVERIFY2(image != day[i], qPrintable(QStringLiteral("page %1").arg(i + 1)));
            }
        }
    }

    // Body text on every pane, the list and the grid at least 7:1 in each theme, measured on
    // grabbed images; the hits, the current row's tint and the selection plainly there.
    void contrastOnThePanes()
    {
        Tmain *window = start();
        QVERIFY(window);
        QuranPage *quran = window->TabSheet1.get();
        NahjPage *nahj = window->TabSheet2.get();
        SearchPage *search = window->TabSheet3.get();
        for (const Theme::Kind kind : {Theme::Day, Theme::Night, Theme::Paper}) {
            choose(window, kind);
            const Theme &theme = Theme::current();
            window->setActivePage(quran);
            quran->CheckBox1->click(); // the grid
            QApplication::processEvents();
            quran->DbAltGrid3->selectionModel()->select(quran->DbAltGrid3->model()->index(2, 0),
                                                        QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
            QApplication::processEvents();
            const QImage grid = quran->DbAltGrid3->viewport()->grab().toImage();
            const QPalette palette = quran->DbAltGrid3->palette();
            const QPalette::ColorGroup group =
                quran->DbAltGrid3->isActiveWindow() ? QPalette::Active : QPalette::Inactive;
            const QColor selection = palette.color(group, QPalette::Highlight);
            QVERIFY(textContrast(grid) >= 7);
            QVERIFY(pixelsNear(grid, selection) > 1000);
            // The day theme's selection is the desktop's own, as it always was.
            if (kind != Theme::Day)
                QVERIFY(contrast(selection.rgb(),
                                 palette.color(group, QPalette::HighlightedText).rgb()) >= 4.5);
            quran->DbAltGrid3->clearSelection();
            quran->CheckBox1->click(); // the panes
            QApplication::processEvents();
            for (QWidget *view : {static_cast<QWidget *>(quran->DBMemo1->viewport()),
                                  static_cast<QWidget *>(quran->DBMemo2->viewport()),
                                  static_cast<QWidget *>(quran->ListBox5->viewport())})
                QVERIFY2(
                    textContrast(view->grab().toImage()) >= 7,
                    qPrintable(Theme::id(kind) + QLatin1Char(' ') + view->parent()->objectName()));
            window->setActivePage(nahj);
            QApplication::processEvents();
            for (QPlainTextEdit *pane : {nahj->DBMemo3, nahj->DBMemo4})
                QVERIFY2(textContrast(pane->viewport()->grab().toImage()) >= 7,
                         qPrintable(Theme::id(kind) + QLatin1Char(' ') + pane->objectName()));
            window->setActivePage(search);
            QApplication::processEvents();
            const QImage results = search->DBRichEdit1->viewport()->grab().toImage();
            QVERIFY(textContrast(results) >= 7);
            const QColor hit = theme.color(Theme::HitText, Qt::red);
            int red = 0;
            for (int y = 0; y < results.height(); ++y)
                for (int x = 0; x < results.width(); ++x) {
                    const QColor c = results.pixelColor(x, y);
                    red += c.red() - std::max(c.green(), c.blue()) > 60;
                }
            QVERIFY2(red > 20, qPrintable(Theme::id(kind)));
            // The day theme's red is the program's own, 4:1 on white.
            QVERIFY(contrast(hit.rgb(), groundOf(results)) >= (kind == Theme::Day ? 3.9 : 4.5));
        }
    }

    // The stored theme is applied at start, the box showing it; the reader's background colour
    // lies on top of it and stays through a change of theme.
    void restoredAndOverlaid()
    {
        QFile file(ConfigLocation::filePath(QStringLiteral("Theme")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("paper\n");
        file.close();
        Tmain *window = start();
        QVERIFY(window);
        QCOMPARE(Theme::current().kind(), Theme::Paper);
        QCOMPARE(window->TabSheet5.get()->ThemeBox->currentData().toString(),
                 QStringLiteral("paper"));
        QCOMPARE(QApplication::palette().color(QPalette::Base), QColor(0xFBF6E9));

        MemoryColorChooser chooser;
        chooser.setEdit([](QColor &colour, QList<QColor> &) { colour = QColor(0x30, 0x40, 0x50); });
        window->TabSheet5.get()->QuranColorButtonClick();
        choose(window, Theme::Night);
        QCOMPARE(window->TabSheet1.get()->DBMemo1->palette().color(QPalette::Base),
                 QColor(0x30, 0x40, 0x50));
        QCOMPARE(window->TabSheet2.get()->DBMemo3->palette().color(QPalette::Base),
                 QColor(0x16181C));
    }
};

QTEST_MAIN(tst_Themes)
#include "tst_themes.moc"
