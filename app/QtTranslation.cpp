#include "app/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

namespace {
// The language of the program's own captions and messages.
constexpr QLocale::Language kProgramLanguage = QLocale::Persian;
} // namespace

bool QtTranslation::wanted(const QLocale &system)
{
    return system.language() == QLocale::Persian || kProgramLanguage == QLocale::Persian;
}

bool QtTranslation::install(QCoreApplication &app)
{
    if (!wanted(QLocale::system()))
        return false;
    auto *translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Persian, QLocale::Iran), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        std::fprintf(stderr, "kevran: Qt's Persian translation (qtbase_fa, package "
                             "qt6-translations-l10n) is not installed; Qt's own texts stay "
                             "English.\n");
        return false;
    }
    // The translation also turns the application's layout right to left.
    QCoreApplication::installTranslator(translator);
    return true;
}
