#include "platform/FileChooser.h"

#include <QFileDialog>

namespace {

class ToolkitFileChooser : public FileChooser {
public:
    QString chooseFileToOpen(QWidget *parent, const QString &start) override
    {
        return QFileDialog::getOpenFileName(parent, QString(), start);
    }
};

FileChooser *g_current = nullptr;

} // namespace

FileChooser::~FileChooser() = default;

FileChooser &FileChooser::current()
{
    static ToolkitFileChooser toolkit;
    return g_current ? *g_current : toolkit;
}

void FileChooser::setCurrent(FileChooser *chooser)
{
    g_current = chooser;
}
