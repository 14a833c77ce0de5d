#include "platform/FileChooser.h"

#include <QFileDialog>

namespace {

class SystemFileChooser : public FileChooser {
public:
    QString chooseFileToOpen(QWidget *parent, const QString &start) override
    {
        return QFileDialog::getOpenFileName(parent, QString(), start);
    }
};

} // namespace

FileChooser::~FileChooser() = default;

template <> FileChooser &Service<FileChooser>::systemDefault()
{
    static SystemFileChooser system;
    return system;
}
