#include "ui/main/RightToLeftText.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>

namespace {

void applyTo(QWidget *view, QTextDocument *document)
{
    view->setLayoutDirection(Qt::RightToLeft);
    QTextOption option = document->defaultTextOption();
    option.setTextDirection(Qt::RightToLeft);
    option.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    document->setDefaultTextOption(option);
}

} // namespace

void RightToLeftText::apply(QPlainTextEdit *edit)
{
    applyTo(edit, edit->document());
}

void RightToLeftText::apply(QTextEdit *edit)
{
    applyTo(edit, edit->document());
}
