#include "platform/QtFontChooser.h"

#include "platform/FontChooserDialog.h"

bool QtFontChooser::choose(QWidget *parent, const Font &preset, Answer *answer)
{
    FontChooserDialog dialog(preset, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *answer = dialog.answer();
    return true;
}
