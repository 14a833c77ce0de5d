#pragma once

#include "ui/print/Printout.h"

#include <QObject>
#include <QPageLayout>
#include <optional>

class DataSource;
class NahjPage;
class QAction;
class QMenu;
class QPagedPaintDevice;
class QPainter;
class QuranPage;
class SearchPage;
class Tmain;

// Printing and saving as PDF what the page in front shows: on the Quran page the verse set
// shown, or the verses selected in the grid when any are; on the Nahj page the item shown;
// on the search page the results with their hits. The print goes through the system's print
// dialog; the PDF is written whole to a temporary file beside the chosen one and renamed over
// it, so a cancelled or failed save leaves no file behind.
class QPrinter;

class PrintCommands : public QObject {
    Q_OBJECT
public:
    explicit PrintCommands(Tmain *window);

    // "چاپ..." (Ctrl+P in the whole window) and "ذخيره PDF...".
    QAction *PrintAction;
    QAction *PdfAction;

    // Adds both commands at the end of a page's context menu.
    void addTo(QMenu *menu);

    static Printout ofQuran(QuranPage *page);
    static Printout ofNahj(NahjPage *page);
    static Printout ofSearch(SearchPage *page, DataSource *results);
    // The printout of the page in front; empty on the other pages.
    Printout printout() const;

    void PrintActionClick();
    void PdfActionClick();

    // Writes the printout as a PDF file at path, showing the progress; false when the reader
    // cancelled. Raises an Error naming the file when it cannot be written; no file is left.
    // layout: the paper, its orientation and margins; A4 (or Letter) upright when none is given.
    bool savePdf(const Printout &printout, const QString &path,
                 const std::optional<QPageLayout> &layout = std::nullopt);
    // Prints on the printer as its dialog left it: its page range, paper and orientation, to
    // its file when it prints to one.
    void printTo(Printout printout, QPrinter &printer);

private:
    bool render(const Printout &printout, QPainter &painter, QPagedPaintDevice *device);
    void followPage();

    Tmain *m_window;
    bool m_busy = false;
};
