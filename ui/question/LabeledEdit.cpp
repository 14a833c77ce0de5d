#include "ui/question/LabeledEdit.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace {

// A caption read in the label's own direction, whatever its letters: a blank-padded caption
// keeps its blanks on the side they were typed on.
class CaptionLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        const int direction = layoutDirection() == Qt::RightToLeft ? Qt::TextForceRightToLeft
                                                                   : Qt::TextForceLeftToRight;
        const int alignment = int(QStyle::visualAlignment(layoutDirection(), this->alignment()));
        painter.drawText(contentsRect(), alignment | direction | Qt::TextSingleLine, text());
    }
};

} // namespace

LabeledEdit::LabeledEdit(const QString &name, const QString &caption, QWidget *parent)
    : QLineEdit(parent)
    , EditLabel(new CaptionLabel(caption, parent))
{
    setObjectName(name);
    EditLabel->setObjectName(name + QLatin1String("Label"));
    EditLabel->setBuddy(this);
    placeLabel();
}

void LabeledEdit::setVisible(bool visible)
{
    QLineEdit::setVisible(visible);
    EditLabel->setVisible(visible);
}

void LabeledEdit::moveEvent(QMoveEvent *event)
{
    QLineEdit::moveEvent(event);
    placeLabel();
}

void LabeledEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placeLabel();
}

void LabeledEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        placeLabel();
}

void LabeledEdit::placeLabel()
{
    // The label follows the same font as the box, which may reach the box first.
    const int height = std::max(EditLabel->sizeHint().height(), fontMetrics().height());
    EditLabel->setGeometry(x(), y() - LabelSpacing - height, width(), height);
}
