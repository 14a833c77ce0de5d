#include "platform/Messages.h"

#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <cstdio>

namespace {
void writeLine(const char *kind, const QString &text)
{
    QString flat = text;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "%s: %s: %s\n", qUtf8Printable(Messages::title()), kind,
                 qUtf8Printable(flat));
    std::fflush(stderr);
}
} // namespace

QString Messages::errorText(const QString &text)
{
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

QString Messages::title()
{
    return QCoreApplication::applicationName();
}

void Messages::showError(const QString &text, QWidget *parent)
{
    const QString shown = errorText(text);
    writeLine("error", shown);
    Dialogs::current().error(parent, title(), shown);
}

void Messages::showMessage(const QString &text, QWidget *parent)
{
    writeLine("message", text);
    Dialogs::current().message(parent, title(), text);
}

bool Messages::confirm(const QString &caption, const QString &text, QWidget *parent)
{
    writeLine("confirm", text);
    return Dialogs::current().confirm(parent, caption, text);
}

int Messages::choose(const QString &text, const QStringList &buttons, QWidget *parent)
{
    writeLine("question", text);
    return Dialogs::current().choose(parent, title(), text, buttons);
}
