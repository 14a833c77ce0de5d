#pragma once

#include "platform/Service.h"

#include <QColor>
#include <QString>

class QWidget;

// The platform's font chooser: the screen fonts with the effects (strike-out, underline, text
// colour) and the script, without size limits. The default implementation shows the
// toolkit's own dialog; tests install MemoryFontChooser instead, so no test waits for a person.
class FontChooser : public Service<FontChooser> {
public:
    static constexpr int RegularWeight = 400;
    static constexpr int BoldWeight = 700;

    // A font as the chooser shows and returns it.
    struct Font {
        QString face;
        int height = -11; // pixels; negative: character height, positive: cell height
        int weight = RegularWeight;
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
        int charset = 0;
        QColor color = Qt::black;
    };

    // The font the reader confirmed, and whether the reader changed the colour box and the
    // script box on the way.
    struct Answer {
        Font font;
        bool colorChanged = false;
        bool scriptChanged = false;
    };

    virtual ~FontChooser();

    // Shows the chooser preset to `preset`. True when the reader confirmed; the answer is
    // then filled in. On cancel the answer is left as it was.
    virtual bool choose(QWidget *parent, const Font &preset, Answer *answer) = 0;
};

template <> FontChooser &Service<FontChooser>::systemDefault();
