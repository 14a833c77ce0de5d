#pragma once

#include "platform/FontChooser.h"
#include "settings/DisplaySettings.h"

#include <QWidget>

class NahjPage;
class QComboBox;
class QGroupBox;
class QPushButton;
class QuranPage;

// The display settings page: the font of the Quran text, of the Nahj al-Balagha text and of
// the whole window, and the background colours of the two texts' panes. Each button opens a
// chooser started from its setting's object; a confirmed choice is stored in the setting's
// file and applied at once.
class DisplaySettingsPage : public QWidget {
    Q_OBJECT
public:
    // The controls the settings apply to: the Quran page's panes and grid, the Nahj page's
    // panes, and the window whose font is the window font.
    DisplaySettingsPage(QuranPage *quran, NahjPage *nahj, QWidget *window,
                        QWidget *parent = nullptr);

    // The main window's creation step for the display settings: presets the font objects
    // with the window's font and the colour objects with the window's colour, then restores
    // and applies every stored setting on its own. A file that cannot be read or is damaged
    // is reported and leaves only its own setting as it was.
    void presetAndRestore();

    // The five buttons: open the chooser; on cancel stop; store the object; apply it.
    void QuranFontButtonClick() { chooseFont(DisplaySettings::QuranFont); }
    void BookFontButtonClick() { chooseFont(DisplaySettings::BookFont); }
    void WindowFontButtonClick() { chooseFont(DisplaySettings::WindowFont); }
    void QuranColorButtonClick() { chooseColor(DisplaySettings::QuranBackground); }
    void BookColorButtonClick() { chooseColor(DisplaySettings::BookBackground); }

    // The Persian translation of the Quran: fills the box from the text database, the
    // translation in use current; done when the page is first shown.
    void loadTranslations();
    // Applies the translation chosen in the box at once, keeping the verse set's rows and
    // current row, and stores the choice.
    void TranslationBoxChange();

    // Gives the setting's controls the font or background colour of its object.
    void apply(DisplaySettings::Setting setting);

    DisplaySettings &settings() { return m_settings; }

    // The font chooser's preset for a font, and what a confirmed answer changes in it.
    static FontChooser::Font chooserFont(const SettingsFont &font);
    static void takeAnswer(SettingsFont &font, const FontChooser::Answer &answer);

    QGroupBox *FontFrame;
    QPushButton *QuranFontButton;
    QPushButton *BookFontButton;
    QPushButton *WindowFontButton;
    QGroupBox *ColorFrame;
    QPushButton *QuranColorButton;
    QPushButton *BookColorButton;
    QGroupBox *TranslationFrame;
    QComboBox *TranslationBox;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void chooseFont(DisplaySettings::Setting setting);
    void chooseColor(DisplaySettings::Setting setting);
    QPushButton *addButton(QGroupBox *frame, const char *name, const QString &caption, int left,
                           int top, int width, void (DisplaySettingsPage::*handler)());
    QList<QWidget *> controls(DisplaySettings::Setting setting) const;

    QuranPage *m_quran;
    NahjPage *m_nahj;
    QWidget *m_window;
    DisplaySettings m_settings;
    bool m_loadingTranslations = false;
};
