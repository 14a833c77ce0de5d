#include "data/DataSet.h"
#include "data/PersianDigits.h"
#include "doubles/MemoryDialogs.h"
#include "doubles/MemorySaveFileChooser.h"
#include "support/ProgramFixture.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/print/PrintCommands.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"
#include "ui/search/SearchPage.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of a PDF, its Arabic presentation forms folded to the letters (NFKC), without the
// marks of direction pdftotext puts around numbers, its runs of blanks as one.
QString textOf(const QString &pdf, int page = 0)
{
    QStringList arguments;
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    const QString text = run(QStringLiteral("pdftotext"), arguments << pdf << QStringLiteral("-"))
                             .normalized(QString::NormalizationForm_KC);
    static const QRegularExpression directionMarks(
        QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}]"));
    return QString(text).remove(directionMarks).simplified();
}

// A text's words made of letters alone, folded as textOf() folds (pdftotext mirrors brackets).
QStringList letterWords(const QString &text)
{
    QStringList words;
    for (const QString &word : text.simplified().split(QLatin1Char(' '))) {
        if (std::all_of(word.cbegin(), word.cend(), [](QChar c) { return c.isLetter(); }))
            words.append(word.normalized(QString::NormalizationForm_KC));
    }
    return words;
}

int pageCount(const QString &pdf)
{
    const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    return pages.match(run(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
}

// Every font of the PDF is embedded: pdffonts's "emb" column says yes on each font's line.
bool fontsEmbedded(const QString &pdf, int *fonts)
{
    const QStringList lines = run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'));
    *fonts = 0;
    for (const QString &line : lines.mid(2)) {
        if (line.trimmed().isEmpty())
            continue;
        ++*fonts;
        if (!line.contains(QRegularExpression(QStringLiteral("\\s+yes\\s+(yes|no)\\s+(yes|no)"))))
            return false;
    }
    return *fonts > 0;
}

} // namespace

// The PDFs of the Quran, Nahj and search pages, read back with poppler's tools.
class tst_Printing : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MemoryDialogs> m_dialogs;
    std::unique_ptr<MemorySaveFileChooser> m_chooser;
    std::unique_ptr<ProgramFixture> m_program;

    Tmain *start()
    {
        m_program = std::make_unique<ProgramFixture>();
        return m_program->started() ? m_program->window() : nullptr;
    }

    QString savePdf(Tmain *window, QWidget *page, const QString &name)
    {
        const QString path = m_dir.filePath(name);
        m_chooser->setAnswer(path);
        window->setActivePage(page);
        window->Printing->PdfAction->trigger();
        return path;
    }

    void showSura(Tmain *window, int sura)
    {
        QuranPage *quran = window->TabSheet1.get();
        quran->ListBox5->setCurrentRow(sura - 1);
        quran->ListBox5Click();
    }

private slots:
    void initTestCase()
    {
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("KEVRAN_KEEP_PDF"));
        if (!m_dir.autoRemove())
            qInfo() << m_dir.path();
        for (const char *tool : {"pdftotext", "pdffonts", "pdfinfo", "pdftoppm"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP("poppler-utils is not installed");
        }
    }

    void init()
    {
        m_dialogs = std::make_unique<MemoryDialogs>();
        m_chooser = std::make_unique<MemorySaveFileChooser>();
    }

    void cleanup()
    {
        m_program.reset();
        m_chooser.reset();
        m_dialogs.reset();
    }

    // Suras 1 and 2: fonts embedded, the heading and a verse's translation in the text, the
    // verse numbers in ornate parentheses, one page for sura 1, and the pages of sura 2
    // numbered to the last in Persian digits.
    void suras()
    {
        Tmain *window = start();
        QVERIFY(window);
        DataSet *verses = m_program->verses();
        for (const int sura : {1, 2}) {
            showSura(window, sura);
            const QString translation =
                verses->text(4, verses->requiredField(QStringLiteral("English")));
            const QString pdf =
                savePdf(window, window->TabSheet1.get(), QStringLiteral("sura.pdf"));
            QVERIFY(m_dialogs->shown().isEmpty());
            int fonts = 0;
            QVERIFY(fontsEmbedded(pdf, &fonts));
            const QString text = textOf(pdf);
            QVERIFY(
                text.contains(sura == 1 ? QStringLiteral("الفاتحة") : QStringLiteral("البقرة")));
            const QStringList words = letterWords(translation);
            QVERIFY(words.size() >= 3);
            for (const QString &word : words.mid(0, 3))
                QVERIFY2(text.contains(word), qPrintable(word));
            QVERIFY(text.contains(QStringLiteral("۵")));
            const int pages = pageCount(pdf);
            if (sura == 1) {
                QCOMPARE(pages, 1);
            } else {
                QVERIFY2(pages > 20, qPrintable(QString::number(pages)));
                QVERIFY(textOf(pdf, pages).contains(PersianDigits::number(pages)));
            }
            // A look at the first page (kept beside the screenshots).
            const QString image = QStringLiteral(KEVRAN_SCREENSHOT_DIR "/pdf-sura%1").arg(sura);
            QDir().mkpath(QStringLiteral(KEVRAN_SCREENSHOT_DIR));
            run(QStringLiteral("pdftoppm"),
                {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("110"),
                 QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                 QStringLiteral("2"), pdf, image});
        }
    }

    // Printed to a file from the print dialog: the paper, orientation and page range chosen
    // there hold, and the pages keep their numbers.
    void printToFileKeepsTheDialog()
    {
        Tmain *window = start();
        QVERIFY(window);
        showSura(window, 2);
        window->setActivePage(window->TabSheet1.get());
        const QString pdf = m_dir.filePath(QStringLiteral("pages.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape,
                                          QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(3, 4);
        window->Printing->printTo(window->Printing->printout(), printer);
        QCOMPARE(pageCount(pdf), 2);
        const QRegularExpression size(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)"));
        const QRegularExpressionMatch match = size.match(run(QStringLiteral("pdfinfo"), {pdf}));
        QVERIFY(match.hasMatch());
        QVERIFY2(match.captured(1).toDouble() > match.captured(2).toDouble(),
                 qPrintable(match.captured(0)));
        QVERIFY(qAbs(match.captured(1).toDouble() - 595.3) < 2); // A5 across: 210 mm
        QVERIFY(textOf(pdf, 1).contains(QStringLiteral("۳")));
        QVERIFY(textOf(pdf, 2).contains(QStringLiteral("۴")));
    }

    // Verses selected in the grid are printed alone, under their sura's heading.
    void selectedVerses()
    {
        Tmain *window = start();
        QVERIFY(window);
        showSura(window, 2);
        QuranPage *quran = window->TabSheet1.get();
        for (const int row : {3, 1, 6})
            quran->DbAltGrid3->selectionModel()->select(quran->DbAltGrid3->model()->index(row, 0),
                                                        QItemSelectionModel::Select |
                                                            QItemSelectionModel::Rows);
        const Printout printout = PrintCommands::ofQuran(quran);
        QStringList kinds;
        for (const Printout::Block &block : printout.blocks)
            kinds << (block.kind == Printout::Block::Verse ? QString::number(block.number)
                                                           : QString::number(block.kind));
        QCOMPARE(kinds,
                 QStringList({QString::number(Printout::Block::SuraHeading), "2", "4", "7"}));
        QCOMPARE(printout.title, QStringLiteral("سوره البقرة"));
    }

    // Letter 53 of the Nahj page, and the search page's results with their hits in red.
    void nahjAndSearch()
    {
        Tmain *window = start();
        QVERIFY(window);
        NahjPage *nahj = window->TabSheet2.get();
        nahj->TreeView1->setCurrentItem(nahj->TreeView1->topLevelItem(1)->child(52));
        nahj->itemLookup();
        const QString letter = savePdf(window, nahj, QStringLiteral("letter.pdf"));
        int fonts = 0;
        QVERIFY(fontsEmbedded(letter, &fonts));
        const QString text = textOf(letter);
        QVERIFY(text.contains(QStringLiteral("نامه ۵۳")));
        const QStringList words = letterWords(nahj->DBMemo3->toPlainText());
        QVERIFY(words.size() > 10);
        for (const QString &word : words.mid(5, 5))
            QVERIFY2(text.contains(word), qPrintable(word));
        QVERIFY(pageCount(letter) > 5);

        SearchPage *search = window->TabSheet3.get();
        search->s4->setChecked(true);
        search->s4Click();
        search->Edit2->setText(QStringLiteral("رحمت"));
        search->BitBtn5Click();
        const QString results = savePdf(window, search, QStringLiteral("results.pdf"));
        QVERIFY(textOf(results).contains(QStringLiteral("رحمت")));
        const QString image = m_dir.filePath(QStringLiteral("results"));
        run(QStringLiteral("pdftoppm"),
            {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("100"),
             QStringLiteral("-singlefile"), results, image});
        const QImage page(image + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        int red = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                red += c.red() > 150 && c.green() < 80 && c.blue() < 80;
            }
        QVERIFY2(red > 50, qPrintable(QString::number(red)));
    }

    // The whole Quran cancelled from its progress dialog, and a file that cannot be written:
    // no file is left, not even a temporary one, and the failure is named.
    void cancelledOrFailedLeavesNothing()
    {
        Tmain *window = start();
        QVERIFY(window);
        QuranPage *quran = window->TabSheet1.get();
        quran->Edit1->clear();
        quran->BitBtn6Click(); // every verse
        QCOMPARE(m_program->verses()->recordCount(), 6236);
        QDir folder(m_dir.filePath(QStringLiteral("out")));
        QVERIFY(folder.mkpath(QStringLiteral(".")));
        bool cancelled = false;
        QTimer::singleShot(300, this, [&] {
            auto *progress = window->findChild<QProgressDialog *>(QStringLiteral("PrintProgress"));
            QVERIFY(progress);
            progress->cancel();
            cancelled = true;
        });
        const QString path = folder.filePath(QStringLiteral("quran.pdf"));
        window->setActivePage(quran);
        QVERIFY(!window->Printing->savePdf(window->Printing->printout(), path));
        QVERIFY(cancelled);
        QVERIFY(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());

        showSura(window, 1);
        m_dialogs.reset(); // the one installed before goes first
        m_dialogs = std::make_unique<MemoryDialogs>();
        savePdf(window, quran, QStringLiteral("missing/folder/sura.pdf"));
        QCOMPARE(m_dialogs->shown().size(), 1);
        QVERIFY(m_dialogs->shown().first().text.contains(QStringLiteral("sura.pdf")));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("missing"))));
    }
};

QTEST_MAIN(tst_Printing)
#include "tst_printing.moc"
