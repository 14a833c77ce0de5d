#include "platform/SystemFontChooser.h"

#include "platform/FontChooserDialog.h"

bool SystemFontChooser::choose(QWidget *parent, const Font &preset, Answer *answer)
{
    FontChooserDialog dialog(preset, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *answer = dialog.answer();
    return true;
}
