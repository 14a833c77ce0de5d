#pragma once

class QCoreApplication;
class QLocale;

// Qt's own texts (the standard buttons, the text boxes' menus, the font and file dialogs) in
// Persian and right to left, from Qt's translation qtbase_fa (package qt6-translations-l10n).
class QtTranslation {
public:
    // Whether Qt is to speak Persian: when the system's locale is Persian, or the program's own
    // language is, which it always is.
    static bool wanted(const QLocale &system);
    // Loads the translation into the application when wanted; answers whether it is loaded. A
    // missing translation leaves Qt's texts as they are, with a warning on standard error.
    static bool install(QCoreApplication &app);
};
