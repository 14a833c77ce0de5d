#include "app/Program.h"
#include "app/Tfrm_main.h"
#include "data/DataSet.h"
#include "data/TDataModule2.h"
#include "doubles/MemoryDialogs.h"
#include "doubles/MemoryFontChooser.h"
#include "platform/ConfigLocation.h"
#include "platform/FontChooserDialog.h"
#include "ui/main/AboutPage.h"
#include "ui/main/GridFindDialog.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/question/QuestionPage.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"
#include "ui/search/SearchPage.h"
#include "ui/settings/DisplaySettingsPage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QSlider>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTreeWidget>
#include <map>

namespace {

// The colour most of an area's pixels have: its background.
QRgb background(const QImage &image, const QRect &area)
{
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    return std::max_element(counts.begin(), counts.end(),
                            [](const auto &a, const auto &b) { return a.second < b.second; })
        ->first;
}

// The columns in which an image has pixels darker than its background.
QPair<int, int> inkColumns(const QImage &image)
{
    const QRgb paper = background(image, image.rect());
    int left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) + 60 < qGray(paper)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

bool sameFont(const QFont &a, const QFont &b)
{
    return a.family() == b.family() && QFontInfo(a).pixelSize() == QFontInfo(b).pixelSize() &&
           a.bold() == b.bold() && a.italic() == b.italic();
}

// The caption a control shows, and the width and height it needs for it; empty when the
// control shows none.
struct Caption {
    QString text;
    QSize needed;
};

Caption captionOf(QWidget *widget)
{
    // Blanks at the ends of a caption are part of it but show nothing: the width they take
    // beyond the control's edge is not counted.
    const QFontMetrics metrics(widget->font());
    auto visible = [&metrics](const QString &text, int width) {
        return QSize(width - metrics.horizontalAdvance(text) +
                         metrics.horizontalAdvance(text.trimmed()),
                     metrics.height());
    };
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        if (label->text().isEmpty() || label->wordWrap() || !label->pixmap().isNull())
            return {};
        return {label->text(), visible(label->text(), label->sizeHint().width())};
    }
    if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        if (button->text().isEmpty())
            return {};
        return {button->text(), visible(button->text(), button->sizeHint().width())};
    }
    if (auto *group = qobject_cast<QGroupBox *>(widget)) {
        if (group->title().isEmpty())
            return {};
        return {group->title(),
                visible(group->title(), metrics.horizontalAdvance(group->title()) + 8)};
    }
    return {};
}

} // namespace

// Renders the windows as a reader sees them, at 1366 by 768, saves the pictures for
// inspection (in the build folder's screenshots/, one folder per platform) and checks from
// the widgets and their pixels what a reader would notice: fonts, captions, direction, the
// grid's current row and the sura list.
class tst_Render : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Tmain *window = nullptr;
    QuranPage *quran = nullptr;
    NahjPage *nahj = nullptr;
    SearchPage *search = nullptr;

    static void save(QWidget *widget, const QString &name)
    {
        const QString dir = QStringLiteral(KEVRAN_SCREENSHOT_DIR "/") + qApp->platformName();
        QDir().mkpath(dir);
        QVERIFY(widget->grab().save(QDir(dir).filePath(name)));
    }

    void showPage(QWidget *page)
    {
        window->setActivePage(page);
        QCoreApplication::processEvents();
    }

    QString currentSura() const
    {
        return kevran::DataModule2->ADOQuery1->fieldText(QStringLiteral("chapter"));
    }

    // Chooses a window font on the display settings page.
    void chooseWindowFont(int pixels, bool bold)
    {
        MemoryFontChooser fonts;
        fonts.setEdit([pixels, bold](FontChooser::Answer &answer) {
            answer.font.height = -pixels;
            answer.font.weight = bold ? FontChooser::BoldWeight : FontChooser::RegularWeight;
        });
        window->TabSheet5.get()->WindowFontButton->click();
        QCoreApplication::processEvents();
    }

    // Every visible caption on the shown page fits its control.
    void checkCaptionsFit(QWidget *page, const QString &where)
    {
        for (QWidget *widget : page->findChildren<QWidget *>()) {
            if (!widget->isVisibleTo(window) || widget->isWindow())
                continue;
            const Caption caption = captionOf(widget);
            if (caption.text.isEmpty())
                continue;
            const QString what = QStringLiteral("%1: %2 \"%3\" needs %4x%5 in %6x%7")
                                     .arg(where, widget->objectName(), caption.text)
                                     .arg(caption.needed.width())
                                     .arg(caption.needed.height())
                                     .arg(widget->width())
                                     .arg(widget->height());
            QVERIFY2(caption.needed.width() <= widget->width(), qPrintable(what));
            QVERIFY2(caption.needed.height() <= widget->height(), qPrintable(what));
        }
        for (QTabBar *tabs : page->findChildren<QTabBar *>())
            checkTabsFit(tabs, where);
    }

    static void checkTabsFit(QTabBar *tabs, const QString &where)
    {
        {
            for (int i = 0; i < tabs->count(); ++i) {
                const QRect tab = tabs->tabRect(i);
                const int needed =
                    tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)) +
                    tabs->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tabs) + 8;
                const QString what = QStringLiteral("%1: tab \"%2\" needs %3 in %4")
                                         .arg(where, tabs->tabText(i))
                                         .arg(needed)
                                         .arg(tab.width());
                QVERIFY2(needed <= tab.width(), qPrintable(what));
                // The whole tab is shown, in the bar and in the bar's window.
                QTRY_VERIFY2(tabs->tabRect(i).left() >= 0 &&
                                 tabs->tabRect(i).right() < tabs->width(),
                             qPrintable(what));
                const QRect laidOut = tabs->tabRect(i);
                const QRect shown(tabs->mapTo(tabs->window(), laidOut.topLeft()), laidOut.size());
                QVERIFY2(tabs->window()->rect().contains(shown), qPrintable(what));
                QVERIFY2(tabs->parentWidget()->rect().contains(
                             QRect(tabs->mapToParent(laidOut.topLeft()), laidOut.size())),
                         qPrintable(what));
            }
        }
    }

private slots:
    void initTestCase()
    {
        Program::setUpApplication(*qApp);
        for (const char *name : {"Quran", "Book", "ALL", "QuranColor", "BookColor"})
            QFile::remove(ConfigLocation::filePath(QLatin1String(name)));
        QVERIFY(QFile::link(QStringLiteral(KEVRAN_TEST_DATABASE),
                            m_dir.filePath(QStringLiteral("1.db"))));
        QDir::setCurrent(m_dir.path());
        QVERIFY(Program::createWindows());
        window = kevran::main;
        quran = window->TabSheet1.get();
        nahj = window->TabSheet2.get();
        search = window->TabSheet3.get();
    }
    void cleanupTestCase() { Program::destroyWindows(); }

    void launcher()
    {
        kevran::frm_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(kevran::frm_main));
        const QImage shot = kevran::frm_main->grab().toImage();
        QCOMPARE(shot.size(), QSize(734, 532));
        // The picture is drawn from the top-left corner: its dark background is there.
        QVERIFY(qGray(shot.pixel(5, 5)) < 90);
        save(kevran::frm_main, QStringLiteral("launcher.png"));
    }

    void windowFontReachesEveryControl()
    {
        kevran::frm_main->AdvToolButton3Click();
        window->resize(1366, 768);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QFont windowFont = window->font();
        QCOMPARE(QFontInfo(windowFont).pixelSize(), 11);
        // The controls with a font of their own: the sura list and the Nahj panes.
        const QList<QWidget *> own = {quran->ListBox5, nahj->DBMemo3, nahj->DBMemo4};
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            bool inOwn = false;
            for (QWidget *owner : own)
                inOwn = inOwn || owner == widget || owner->isAncestorOf(widget);
            if (inOwn)
                continue;
            QVERIFY2(sameFont(widget->font(), windowFont),
                     qPrintable(widget->objectName() + QLatin1Char(' ') +
                                QLatin1String(widget->metaObject()->className()) +
                                QLatin1Char(' ') + widget->font().toString()));
        }
        // Menus and the grid's find dialog are windows of their own and still take it.
        QVERIFY(sameFont(quran->PopupMenu3->font(), windowFont));
        QVERIFY(sameFont(search->PopupMenu5->font(), windowFont));
        QVERIFY(sameFont(quran->DbAltGrid3->findDialog()->font(), windowFont));

        // The window font chooser starts from the font the controls show; confirming it
        // unchanged changes no control's look.
        MemoryFontChooser fonts;
        window->TabSheet5.get()->WindowFontButton->click();
        QCOMPARE(fonts.presets().size(), 1);
        QCOMPARE(fonts.presets().first().face, windowFont.family());
        QCOMPARE(-fonts.presets().first().height, QFontInfo(windowFont).pixelSize());
        QVERIFY(sameFont(window->font(), windowFont));
        QVERIFY(sameFont(quran->BitBtn6->font(), windowFont));
    }

    void captionsFit_data()
    {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<bool>("bold");
        QTest::newRow("default") << 11 << false;
        QTest::newRow("bold 11pt") << 15 << true;
    }
    void captionsFit()
    {
        QFETCH(int, pixels);
        QFETCH(bool, bold);
        chooseWindowFont(pixels, bold);
        const QString suffix = QStringLiteral("-%1px%2.png").arg(pixels).arg(bold ? "b" : "");

        quran->ListBox5->setCurrentRow(1);
        showPage(quran);
        quran->PageControl2->setCurrentWidget(quran->TabSheet7); // the topic list
        QCoreApplication::processEvents();
        checkCaptionsFit(quran, QStringLiteral("Quran page, topics"));
        save(window, QStringLiteral("quran-topics") + suffix);
        quran->showSuraListTab();
        QCoreApplication::processEvents();
        checkCaptionsFit(quran, QStringLiteral("Quran page"));

        save(window, QStringLiteral("quran-panes") + suffix);

        struct Page {
            QWidget *page;
            const char *name;
        };
        const Page pages[] = {{nahj, "nahj"},
                              {search, "search"},
                              {window->TabSheet4.get(), "question"},
                              {window->TabSheet5.get(), "settings"},
                              {window->TabSheet6.get(), "about"}};
        for (const Page &page : pages) {
            showPage(page.page);
            checkCaptionsFit(page.page, QLatin1String(page.name));
            checkTabsFit(window->PageControl1->tabBar(), QStringLiteral("main tabs"));
            save(window, QLatin1String(page.name) + suffix);
        }
        chooseWindowFont(11, false);
    }

    void fontColourReachesOnlyText()
    {
        showPage(quran);
        const QRgb panel = quran->Panel1->palette().color(QPalette::Window).rgb();
        MemoryFontChooser fonts;
        fonts.setEdit([](FontChooser::Answer &answer) {
            answer.font.color = QColor(0x80, 0, 0);
            answer.colorChanged = true;
        });
        window->TabSheet5.get()->WindowFontButton->click();
        QCoreApplication::processEvents();
        save(window, QStringLiteral("quran-coloured-font.png"));
        QCOMPARE(quran->DBText2->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));
        QCOMPARE(quran->BitBtn6->palette().color(QPalette::ButtonText), QColor(0x80, 0, 0));
        // The boxes and the button keep their own colours, whatever the status panel's is.
        for (QWidget *box :
             {static_cast<QWidget *>(quran->Edit1), static_cast<QWidget *>(quran->chapter),
              static_cast<QWidget *>(quran->verse)}) {
            QCOMPARE(box->palette().color(QPalette::Base),
                     QApplication::palette().color(QPalette::Base));
            const QImage shot = box->grab().toImage();
            QVERIFY(background(shot, shot.rect().adjusted(3, 3, -3, -3)) != panel);
        }
        QCOMPARE(quran->BitBtn6->palette().color(QPalette::Button),
                 QApplication::palette().color(QPalette::Button));
        fonts.setEdit([](FontChooser::Answer &answer) {
            answer.font.color = QApplication::palette().color(QPalette::WindowText);
            answer.colorChanged = true;
        });
        window->TabSheet5.get()->WindowFontButton->click();
    }

    void nahjTranslationReadsRightToLeft()
    {
        showPage(nahj);
        QTreeWidgetItem *first = nahj->TreeView1->topLevelItem(0);
        QVERIFY(first);
        first->setExpanded(true);
        nahj->TreeView1->setCurrentItem(first->child(0));
        nahj->itemLookup();
        QVERIFY(!nahj->DBMemo3->toPlainText().isEmpty());
        save(window, QStringLiteral("nahj-item.png"));
        int blocks = 0;
        for (QTextBlock block = nahj->DBMemo3->document()->begin(); block.isValid();
             block = block.next(), ++blocks)
            QCOMPARE(block.textDirection(), Qt::RightToLeft);
        QVERIFY(blocks > 1);
        // The size caption is read before its slider: it stands at the slider's right.
        QVERIFY(nahj->Label2->mapTo(window, QPoint()).x() >
                nahj->TrackBar1->mapTo(window, QPoint()).x());
    }

    void currentGridRowIsHighlighted()
    {
        showPage(quran);
        quran->ListBox5->setCurrentRow(1);
        quran->CheckBox1->click();
        QCoreApplication::processEvents();
        VerseGrid *grid = quran->DbAltGrid3;
        const QRect second = grid->visualRect(grid->model()->index(1, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, second.center());
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(kevran::DataModule2->ADOQuery1->currentRow(), 2);
        QVERIFY(grid->selectedRows().isEmpty());
        QCoreApplication::processEvents();
        save(window, QStringLiteral("quran-grid-current-row.png"));
        const QImage shot = grid->viewport()->grab().toImage();
        auto rowBackground = [&](int row) {
            const QRect rect = grid->visualRect(grid->model()->index(row, 1))
                                   .united(grid->visualRect(grid->model()->index(row, 0)))
                                   .adjusted(1, 1, -1, -1);
            return background(shot, rect);
        };
        QVERIFY(rowBackground(2) != rowBackground(1));
        QVERIFY(rowBackground(2) != rowBackground(3));
        QCOMPARE(rowBackground(1), rowBackground(3));
    }

    // Four lines as tall as the lines of sura 2 verse 2, laid out as the grid lays out its
    // cells, fit in a row. The verse carries one of the small high marks of the Quran text.
    void checkRowHoldsFourLines(const QString &where)
    {
        VerseGrid *grid = quran->DbAltGrid3;
        const QString verse = grid->model()->index(1, 0).data().toString();
        QVERIFY(verse.contains(QChar(0x06DB)));
        QTextLayout layout(verse, grid->font());
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        option.setTextDirection(Qt::RightToLeft);
        layout.setTextOption(option);
        layout.beginLayout();
        qreal tallest = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(grid->columnWidth(0) - 8);
            tallest = std::max(tallest, line.height());
        }
        layout.endLayout();
        QVERIFY2(4 * tallest <= grid->rowHeight(1) - 1,
                 qPrintable(QStringLiteral("%1: 4 x %2 in %3")
                                .arg(where)
                                .arg(tallest)
                                .arg(grid->rowHeight(1))));
    }

    void gridRowsHoldFourDrawnLines()
    {
        quran->TrackBar3->setValue(16);
        QCoreApplication::processEvents();
        save(window, QStringLiteral("quran-grid-16pt.png"));
        checkRowHoldsFourLines(QStringLiteral("window font at 16 pt"));

        // A face without the small high marks of the Quran text: they are drawn by another
        // face, whose lines are taller than the chosen face's.
        const QString latin = QStringLiteral("DejaVu Serif");
        QVERIFY(!QFontDatabase::writingSystems(latin).contains(QFontDatabase::Arabic));
        MemoryFontChooser fonts;
        fonts.setEdit([latin](FontChooser::Answer &answer) {
            answer.font.face = latin;
            answer.font.height = -21;
        });
        window->TabSheet5.get()->QuranFontButton->click();
        QCoreApplication::processEvents();
        save(window, QStringLiteral("quran-grid-latin-face.png"));
        checkRowHoldsFourLines(latin);
        QVERIFY(quran->DbAltGrid3->rowHeight(2) >
                4 * QFontMetrics(quran->DbAltGrid3->font()).lineSpacing() + 1);
        quran->CheckBox1->click();
    }

    void suraListShowsTheHighlightedSura()
    {
        showPage(quran);
        QListWidget *list = quran->ListBox5;
        QWidget *viewport = list->viewport();
        auto centre = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
        // Pressed on one sura, dragged to another, released there.
        QTest::mousePress(viewport, Qt::LeftButton, {}, centre(2));
        QMouseEvent move(QEvent::MouseMove, centre(5), viewport->mapToGlobal(centre(5)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre(5));
        QCOMPARE(list->currentRow(), 5);
        QCOMPARE(currentSura(), QStringLiteral("6"));
        // Dragged off the list before the release.
        QTest::mousePress(viewport, Qt::LeftButton, {}, centre(7));
        QMouseEvent away(QEvent::MouseMove, centre(3), viewport->mapToGlobal(centre(3)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &away);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(-20, centre(3).y()));
        QCOMPARE(currentSura(), QString::number(list->currentRow() + 1));
    }

    void menusAndFindDialogReadRightToLeft()
    {
        showPage(quran);
        for (QMenu *menu : {quran->PopupMenu3, search->PopupMenu5}) {
            QCOMPARE(menu->layoutDirection(), Qt::RightToLeft);
            menu->popup(window->mapToGlobal(QPoint(400, 300)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            const QImage shot = menu->grab().toImage();
            save(menu, menu->objectName() + QStringLiteral(".png"));
            // An item's text stands against the menu's right edge (the first item's shortcut
            // stands at the left, so the last item is looked at).
            const QRect item = menu->actionGeometry(menu->actions().last()).adjusted(2, 2, -2, -2);
            const QPair<int, int> ink = inkColumns(shot.copy(item));
            QVERIFY2(ink.second >= 0 && item.width() - 1 - ink.second < ink.first,
                     qPrintable(QStringLiteral("ink %1..%2 of %3")
                                    .arg(ink.first)
                                    .arg(ink.second)
                                    .arg(item.width())));
            menu->close();
        }

        MemoryDialogs dialogs;
        GridFindDialog *find = quran->DbAltGrid3->findDialog();
        find->show();
        QVERIFY(QTest::qWaitForWindowExposed(find));
        QCOMPARE(find->layoutDirection(), Qt::RightToLeft);
        // The box is read first, at the right; the button after it.
        QVERIFY(find->FindText->x() > find->FindNext->x());
        find->FindText->setText(QStringLiteral("کلمه‌اي که نيست"));
        save(find, QStringLiteral("find-dialog.png"));
        find->FindNext->click();
        QCOMPARE(dialogs.shown().size(), 1);
        QCOMPARE(dialogs.shown().first().text, QStringLiteral("چيزي يافت نشد "));
        find->FindText->setText(QStringLiteral("کتاب"));
        find->FindNext->click();
        QCOMPARE(dialogs.shown().size(), 1);
        find->close();
    }

    void fontsForArabicAndPersian()
    {
        // The window font's face stands in for one the machine lacks: what draws in its place
        // has Arabic and Persian letters and the marks over and under them.
        const QFont tahoma(QStringLiteral("Tahoma"));
        const QString drawnBy = QFontInfo(tahoma).family();
        QVERIFY2(QFontDatabase::writingSystems(drawnBy).contains(QFontDatabase::Arabic),
                 qPrintable(drawnBy));
        const QRawFont raw = QRawFont::fromFont(tahoma, QFontDatabase::Arabic);
        for (const char16_t letter :
             u"بسمالرحیکگپچژ۰۹\u064B\u064E\u064F\u0650\u0651\u0652\u0670\u06D6\u06DA\u06DB\u06E9")
            if (letter)
                QVERIFY2(raw.supportsCharacter(QChar(letter)),
                         qPrintable(QString::number(letter, 16)));

        // The Naskh faces for Quranic text are installed and offered by the font chooser.
        FontChooserDialog chooser(FontChooser::Font{});
        for (const QString &face : {QStringLiteral("Amiri"), QStringLiteral("Scheherazade")}) {
            const bool offered = !chooser.faceList->findItems(face, Qt::MatchStartsWith).isEmpty();
            QVERIFY2(offered, qPrintable(face));
        }
    }

    // The result view after a search for the search box's word: the picture on which the
    // hits' colour and the joining of their letters are judged.
    void searchResultView()
    {
        MemoryDialogs dialogs;
        showPage(search);
        search->BitBtn5->click();
        QCOMPARE(dialogs.shown().size(), 1);
        QCoreApplication::processEvents();
        save(window, QStringLiteral("search-result.png"));
        save(search->DBRichEdit1, QStringLiteral("search-result-text.png"));
    }
};

QTEST_MAIN(tst_Render)
#include "tst_render.moc"
