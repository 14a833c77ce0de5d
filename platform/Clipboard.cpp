#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

class SystemClipboard : public Clipboard {
public:
    void setText(const QString &text) override { QGuiApplication::clipboard()->setText(text); }
    QString text() const override { return QGuiApplication::clipboard()->text(); }
};

} // namespace

Clipboard::~Clipboard() = default;

template <> Clipboard &Service<Clipboard>::systemDefault()
{
    static SystemClipboard system;
    return system;
}
