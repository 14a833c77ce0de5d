#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

class DesktopClipboard : public Clipboard {
public:
    void setText(const QString &text) override { QGuiApplication::clipboard()->setText(text); }
    QString text() const override { return QGuiApplication::clipboard()->text(); }
};

Clipboard *g_current = nullptr;

} // namespace

Clipboard::~Clipboard() = default;

Clipboard &Clipboard::current()
{
    static DesktopClipboard desktop;
    return g_current ? *g_current : desktop;
}

void Clipboard::setCurrent(Clipboard *clipboard)
{
    g_current = clipboard;
}
