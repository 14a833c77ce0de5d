#include "platform/SystemColorChooser.h"

#include <QColorDialog>

bool SystemColorChooser::choose(QWidget *parent, QColor *color, QList<QColor> *customColors)
{
    static_assert(customColorCount == 16, "the toolkit's dialog has sixteen custom colours");
    const QColor empty(Qt::white);
    QList<QColor> shown;
    for (int i = 0; i < customColorCount; ++i) {
        const QColor custom = customColors->value(i);
        shown.append(custom.isValid() ? custom : empty);
        QColorDialog::setCustomColor(i, shown.last());
    }

    QColorDialog dialog(color->isValid() ? *color : QColor(Qt::white), parent);
    dialog.setOptions(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;

    *color = dialog.selectedColor();
    QList<QColor> chosen;
    for (int i = 0; i < customColorCount; ++i) {
        const QColor custom = QColorDialog::customColor(i);
        const bool untouchedEmpty = !customColors->value(i).isValid() && custom == shown.at(i);
        chosen.append(untouchedEmpty ? QColor() : custom);
    }
    *customColors = chosen;
    return true;
}
