#include "app/PersianSupportProbe.h"

#include "app/Program.h"
#include "app/RegistryAccessor.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "platform/VersionQuery.h"

#include <QCoreApplication>
#include <exception>

const QString PersianSupportProbe::ConfirmCaption = QStringLiteral("Confirm");
const QString PersianSupportProbe::ConfirmText = QStringLiteral(
    "Persian Language do not install on your computer(or do not install its details),would you "
    "like to install persian panguage ?");
const QString PersianSupportProbe::Installer = QStringLiteral("SetPersian.exe");
const QString PersianSupportProbe::InstallerParameters = QStringLiteral("true true False");
const QString PersianSupportProbe::PersianLayout = QStringLiteral("00000429");

namespace {
// Raised by a check that fails; caught with every other error at the end of the probe.
class CheckFailed : public std::exception {
public:
    const char *what() const noexcept override { return "Internal Exception"; }
};

void require(bool passed)
{
    if (!passed)
        throw CheckFailed();
}

void requireExact(const RegistryAccessor &registry, const char *name, const char *expected)
{
    require(registry.readString(QLatin1String(name)) == QLatin1String(expected));
}

// The expected text is in lower case already.
void requireLowerCased(const RegistryAccessor &registry, const char *name, const char *expected)
{
    require(registry.readString(QLatin1String(name)).toLower() == QLatin1String(expected));
}

void openKey(RegistryAccessor &registry, const char *path)
{
    require(registry.openKey(QLatin1String(path)));
}

// The preload list names the keyboard layouts loaded at logon under the values "1", "2", ...
bool preloadsPersian(const RegistryAccessor &registry)
{
    for (int n = 1; n <= 999; ++n) {
        const QString name = QString::number(n);
        if (registry.valueExists(name) &&
            registry.readString(name) == PersianSupportProbe::PersianLayout)
            return true;
    }
    return false;
}
} // namespace

bool PersianSupportProbe::IsXP()
{
    const PlatformVersion version = VersionQuery::current().version();
    return version.platformId == PlatformVersion::NtPlatform && version.major == 5 &&
           version.minor == 1;
}

bool PersianSupportProbe::isPersianInstalled()
{
    bool installed = true;
    RegistryAccessor registry;
    try {
        registry.setRoot(Registry::Root::LocalMachine);
        openKey(registry, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\LanguagePack");
        require(registry.readInteger(QStringLiteral("ARABIC")) == 0);
        registry.closeKey();

        openKey(registry, "SYSTEM\\CurrentControlSet\\Control\\Nls\\Language");
        requireExact(registry, "Default", "0429");
        registry.closeKey();

        openKey(registry, "SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage");
        requireExact(registry, "ACP", "1256");
        requireExact(registry, "MACCP", "10004");
        requireExact(registry, "OEMCP", "720");
        requireLowerCased(registry, "10004", "c_10004.nls");
        requireLowerCased(registry, "1256", "c_1256.nls");
        requireLowerCased(registry, "708", "c_708.nls");
        requireLowerCased(registry, "720", "c_720.nls");
        registry.closeKey();

        openKey(registry, "SYSTEM\\CurrentControlSet\\Control\\Keyboard Layouts\\00000429");
        requireLowerCased(registry, "Layout File", "kbdfa.dll");
        requireLowerCased(registry, "Layout Text", "farsi");
        registry.closeKey();

        registry.setRoot(Registry::Root::CurrentUser);
        openKey(registry, "Keyboard Layout\\Preload");
        require(preloadsPersian(registry));
        registry.closeKey();

        openKey(registry, "Control Panel\\International");
        requireLowerCased(registry, "sCountry", "iran");
        requireLowerCased(registry, "sLanguage", "far");
        registry.closeKey();

        openKey(registry, "Control Panel\\International\\Geo");
        requireExact(registry, "Nation", "116");
        registry.closeKey();
    } catch (...) {
        installed = false;
    }
    return installed;
}

void PersianSupportProbe::run(QWidget *window)
{
    if (!IsXP() || isPersianInstalled())
        return;
    if (!Messages::confirm(ConfirmCaption, ConfirmText, window))
        return;
    QString directory = QCoreApplication::applicationDirPath();
    if (!directory.endsWith(QLatin1Char('/')))
        directory += QLatin1Char('/');
    Shell::current().open(window, Installer, InstallerParameters, directory, Shell::Hide);
    Program::requestTermination();
}
