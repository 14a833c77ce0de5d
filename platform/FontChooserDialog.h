#pragma once

#include "platform/FontChooser.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;

// The font chooser's dialog: face, style and size, the effects (strike-out, underline, text
// colour), a sample and the script. It starts from a preset font and answers the font shown
// when the reader confirms, with whether the colour box and the script box were changed.
class FontChooserDialog : public QDialog {
    Q_OBJECT
public:
    explicit FontChooserDialog(const FontChooser::Font &preset, QWidget *parent = nullptr);

    FontChooser::Answer answer() const;
    // The font as the sample shows it.
    QFont sampleFont() const;

    QLineEdit *faceEdit;
    QListWidget *faceList;
    QListWidget *styleList;
    QComboBox *sizeBox;
    QCheckBox *strikeOutBox;
    QCheckBox *underlineBox;
    QComboBox *colorBox;
    QLabel *sampleLabel;
    QComboBox *scriptBox;
    QDialogButtonBox *buttons;

private:
    void fillScripts();
    void updateSample();
    int chosenPoints() const;
    int chosenCharset() const;

    FontChooser::Font m_preset;
    QString m_presetSize;
    bool m_colorChanged = false;
    bool m_scriptChanged = false;
};
