#pragma once

#include "ui/print/Printout.h"

#include <QFont>
#include <functional>

class QPagedPaintDevice;
class QPainter;

// Lays a printout out on pages, right to left: the text in a frame, the page number in
// Persian digits under it. Each verse's Arabic text is shaped and wrapped by the toolkit as on
// screen, and a hit is drawn with its own glyphs from the shaped line, so colouring never
// changes a letter's form or join.
class PrintRenderer {
public:
    // Asked after each block with the blocks done and the total; false cancels.
    using Progress = std::function<bool(int done, int total)>;

    // The face of the Quran's text on paper: a Naskh face where one is installed, else the
    // given face.
    static QString arabicFamily(const QString &fallback);

    // arabic, text: the faces of the Arabic and the Persian text; their sizes are the print's
    // own. Draws on the painter begun on the device, page after page; false when cancelled.
    static bool render(const Printout &printout, QPainter &painter, QPagedPaintDevice *device,
                       const QFont &arabic, const QFont &text, const Progress &progress);
};
