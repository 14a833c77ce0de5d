#pragma once

#include "platform/FontChooser.h"
#include "settings/DisplaySettings.h"

#include <QList>
#include <QWidget>

class DataSource;
class NahjPage;
class QCheckBox;
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
    // Shown once in a run, the first time a font larger than the controls take is applied
    // (stored or chosen): it is shown at the largest size they take, and stays stored as it is.
    static const QString FontBoundedMessage;

    // verses: the verse set's source, whose connection the translation is chosen on; window:
    // the window whose font is the window font. The pages the settings apply to are attached
    // when they are made.
    DisplaySettingsPage(DataSource *verses, QWidget *window, QWidget *parent = nullptr);

    // The Quran page's panes and grid, and the Nahj page's panes, take the settings applied so
    // far at once and every one applied from now on.
    void attach(QuranPage *quran);
    void attach(NahjPage *nahj);

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
    // current row, and stores the choice. A switch that fails leaves the translation in use
    // before, and the box shows it again.
    void TranslationBoxChange();

    // The theme chosen in the box applies at once to every page and is stored.
    void ThemeBoxChange();

    // Gives the setting's controls the font or background colour of its object, on the pages
    // attached now and on those attached later.
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
    // Whether the program starts on the last verse read (off by default).
    QCheckBox *ResumeBox;
    void ResumeBoxClick();
    QGroupBox *ThemeFrame;
    QComboBox *ThemeBox;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void chooseFont(DisplaySettings::Setting setting);
    void chooseColor(DisplaySettings::Setting setting);
    void showTranslationInUse();
    void tellFontBounded();
    QPushButton *addButton(QGroupBox *frame, const char *name, const QString &caption, int left,
                           int top, int width, void (DisplaySettingsPage::*handler)());
    QList<QWidget *> controls(DisplaySettings::Setting setting) const;
    void restoreTheme();

    DataSource *m_verses;
    QuranPage *m_quran = nullptr;
    NahjPage *m_nahj = nullptr;
    QWidget *m_window;
    DisplaySettings m_settings;
    QList<DisplaySettings::Setting> m_applied; // for the pages attached later
    bool m_loadingTranslations = false;
    bool m_fontBounded = false;   // a font was applied at its bound
    bool m_fontBoundTold = false; // and the reader was told
    // The controls given a text colour of the reader's own choice rather than the system's.
    QList<const QWidget *> m_chosenText;
};
