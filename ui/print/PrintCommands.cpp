#include "ui/print/PrintCommands.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "data/PersianDigits.h"
#include "platform/Error.h"
#include "platform/FileReplacement.h"
#include "platform/Messages.h"
#include "platform/SaveFileChooser.h"
#include "ui/main/Tmain.h"
#include "ui/nahj/NahjPage.h"
#include "ui/print/PrintRenderer.h"
#include "ui/quran/QuranPage.h"
#include "ui/quran/VerseGrid.h"
#include "ui/search/SearchPage.h"

#include <QAction>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabWidget>

namespace {

// A4, or Letter where the locale measures in inches.
QPageLayout pageLayout()
{
    const QPageSize size(QLocale().measurementSystem() == QLocale::ImperialUSSystem
                             ? QPageSize::Letter
                             : QPageSize::A4);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(15, 15, 15, 10),
                       QPageLayout::Millimeter);
}

QString rowText(const DataSet *set, int row, const char *column)
{
    return set->text(row, set->requiredField(QLatin1String(column)));
}

} // namespace

PrintCommands::PrintCommands(Tmain *window)
    : QObject(window)
    , PrintAction(new QAction(QStringLiteral("چاپ..."), window))
    , PdfAction(new QAction(QStringLiteral("ذخيره PDF..."), window))
    , m_window(window)
{
    PrintAction->setObjectName(QStringLiteral("PrintAction"));
    PdfAction->setObjectName(QStringLiteral("PdfAction"));
    PrintAction->setShortcut(QKeySequence::Print);
    PrintAction->setShortcutContext(Qt::WindowShortcut);
    window->addAction(PrintAction);
    window->addAction(PdfAction);
    connect(PrintAction, &QAction::triggered, this,
            [this] { Messages::guard([this] { PrintActionClick(); }); });
    connect(PdfAction, &QAction::triggered, this,
            [this] { Messages::guard([this] { PdfActionClick(); }); });
    connect(window->PageControl1, &QTabWidget::currentChanged, this, [this] { followPage(); });
    followPage();
}

void PrintCommands::addTo(QMenu *menu)
{
    menu->addSeparator();
    menu->addAction(PrintAction);
    menu->addAction(PdfAction);
    // The page was put in its tab without a page change.
    followPage();
}

void PrintCommands::followPage()
{
    QWidget *page = m_window->PageControl1->currentWidget();
    const bool prints = qobject_cast<QuranPage *>(page) || qobject_cast<NahjPage *>(page) ||
                        qobject_cast<SearchPage *>(page);
    PrintAction->setEnabled(prints);
    PdfAction->setEnabled(prints);
}

Printout PrintCommands::ofQuran(QuranPage *page)
{
    Printout printout;
    printout.arabicFace = QFont(PrintRenderer::arabicFamily(page->DBMemo1->font().family()));
    printout.textFace = page->DBMemo2->font();
    DataSet *set = page->verseSource()->dataSet();
    if (!set || set->isEmpty())
        return printout;
    QList<int> rows = page->DbAltGrid3->selectedRows();
    if (rows.isEmpty()) {
        set->fetchAll();
        for (int row = 0; row < set->recordCount(); ++row)
            rows.append(row);
    }
    const int chapter = set->requiredField(QStringLiteral("chapter"));
    const int vers = set->requiredField(QStringLiteral("vers"));
    const int arabic = set->requiredField(QStringLiteral("Arabic"));
    const int english = set->requiredField(QStringLiteral("English"));
    QList<int> suras;
    for (const int row : rows) {
        const int sura = set->text(row, chapter).toInt();
        if (!suras.contains(sura))
            suras.append(sura);
        printout.addVerse(sura, set->text(row, vers).toInt(), set->text(row, arabic),
                          set->text(row, english));
    }
    printout.title = suras.size() == 1 ? printout.blocks.first().text : QStringLiteral("قرآن");
    return printout;
}

Printout PrintCommands::ofNahj(NahjPage *page)
{
    Printout printout;
    printout.arabicFace = QFont(PrintRenderer::arabicFamily(page->DBMemo4->font().family()));
    printout.textFace = page->DBMemo3->font();
    const QString translation = page->DBMemo3->toPlainText();
    if (translation.isEmpty() && page->DBMemo4->toPlainText().isEmpty())
        return printout;
    printout.title = page->DBText4->text().trimmed();
    printout.addTitle(printout.title);
    if (!page->DBMemo4->isHidden())
        printout.addText(page->DBMemo4->toPlainText(), true);
    printout.addText(translation, false);
    return printout;
}

Printout PrintCommands::ofSearch(SearchPage *page, DataSource *results)
{
    Printout printout;
    printout.textFace = page->DBRichEdit1->font();
    printout.arabicFace = QFont(PrintRenderer::arabicFamily(printout.textFace.family()));
    DataSet *set = results->dataSet();
    if (!set || set->isEmpty() || page->DBRichEdit1->toPlainText().isEmpty())
        return printout;
    // The column the result text shows, and whether it is Arabic, as the scope chosen says.
    const bool quran = page->s3->isChecked() || page->s4->isChecked();
    const bool arabic = page->s3->isChecked() || page->s1->isChecked();
    const char *column = page->s1->isChecked()   ? "search"
                         : page->s2->isChecked() ? "farsi"
                         : page->s4->isChecked() ? "english"
                                                 : "search1";
    const QString term = page->Edit2->text().trimmed();
    printout.title = QStringLiteral("نتايج جستجو: ") + term;
    printout.addTitle(printout.title);
    set->fetchAll();
    for (int row = 0; row < set->recordCount(); ++row) {
        const QString caption =
            quran ? QStringLiteral("%1، آيه %2")
                        .arg(rowText(set, row, "name").trimmed(),
                             PersianDigits::number(rowText(set, row, "vers").toInt()))
                  : rowText(set, row, "Name2");
        printout.addCaption(caption);
        const QString text = rowText(set, row, column);
        std::vector<Printout::Range> hits;
        for (const SearchPage::Hit &hit : page->hitsIn(text))
            hits.push_back({hit.from, hit.to});
        printout.addText(text, arabic, std::move(hits));
    }
    return printout;
}

Printout PrintCommands::printout() const
{
    QWidget *page = m_window->PageControl1->currentWidget();
    if (auto *quran = qobject_cast<QuranPage *>(page))
        return ofQuran(quran);
    if (auto *nahj = qobject_cast<NahjPage *>(page))
        return ofNahj(nahj);
    if (auto *search = qobject_cast<SearchPage *>(page))
        return ofSearch(search, m_window->DataSource2);
    return Printout();
}

bool PrintCommands::render(const Printout &printout, QPainter &painter, QPagedPaintDevice *device)
{
    QProgressDialog progress(QStringLiteral("آماده کردن صفحه ها..."), QStringLiteral("انصراف"), 0,
                             int(printout.blocks.size()), m_window);
    progress.setObjectName(QStringLiteral("PrintProgress"));
    progress.setWindowTitle(Messages::title());
    progress.setLayoutDirection(Qt::RightToLeft);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setValue(0);
    QElapsedTimer since;
    since.start();
    // The window repaints and the cancel button answers every few hundredths of a second.
    const bool done =
        PrintRenderer::render(printout, painter, device, printout.arabicFace, printout.textFace,
                              [&progress, &since](int blocks, int) {
                                  if (since.elapsed() >= 40) {
                                      progress.setValue(blocks);
                                      QCoreApplication::processEvents();
                                      since.restart();
                                  }
                                  return !progress.wasCanceled();
                              });
    return done;
}

bool PrintCommands::savePdf(const Printout &printout, const QString &path,
                            const std::optional<QPageLayout> &layout)
{
    if (m_busy)
        return false;
    m_busy = true;
    const auto idle = qScopeGuard([this] { m_busy = false; });
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&bytes);
        writer.setPageLayout(layout ? *layout : pageLayout());
        writer.setResolution(300);
        writer.setTitle(printout.title);
        writer.setCreator(Tmain::Caption);
        QPainter painter;
        if (!painter.begin(&writer))
            throw Error(QStringLiteral("فايل PDF ساخته نشد."));
        if (!render(printout, painter, &writer))
            return false;
        painter.end();
    }
    const QString reason = FileReplacement::write(path, bytes.data());
    if (!reason.isEmpty())
        throw Error(QStringLiteral("فايل \"%1\" نوشته نشد. %2")
                        .arg(QDir::toNativeSeparators(path), reason));
    return true;
}

void PrintCommands::PdfActionClick()
{
    const Printout content = printout();
    if (content.isEmpty()) {
        Messages::showMessage(QStringLiteral("چيزي براي چاپ نيست"), m_window);
        return;
    }
    QString name = content.title.isEmpty() ? QStringLiteral("kevran") : content.title;
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    QString path = SaveFileChooser::current().chooseFileToSave(
        m_window, QDir::home().filePath(name + QStringLiteral(".pdf")),
        QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    savePdf(content, path);
}

void PrintCommands::PrintActionClick()
{
    if (m_busy)
        return;
    Printout content = printout();
    if (content.isEmpty()) {
        Messages::showMessage(QStringLiteral("چيزي براي چاپ نيست"), m_window);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayout());
    printer.setDocName(content.title);
    printer.setCreator(Tmain::Caption);
    QPrintDialog dialog(&printer, m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printTo(content, printer);
}

void PrintCommands::printTo(Printout content, QPrinter &printer)
{
    // The dialog's choices hold on paper and in a file alike: the pages asked for, on the
    // paper and in the orientation chosen.
    if (printer.printRange() == QPrinter::PageRange) {
        content.fromPage = printer.fromPage();
        content.toPage = printer.toPage();
    }
    // Printed to a file: written as the PDF command writes it, never in part.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        savePdf(content, printer.outputFileName(), printer.pageLayout());
        return;
    }
    m_busy = true;
    const auto idle = qScopeGuard([this] { m_busy = false; });
    QPainter painter;
    if (!painter.begin(&printer))
        throw Error(QStringLiteral("چاپگر آماده نيست."));
    if (!render(content, painter, &printer))
        printer.abort();
    painter.end();
}
