#include "platform/SaveFileChooser.h"

#include <QFileDialog>

namespace {

class SystemSaveFileChooser : public SaveFileChooser {
public:
    QString chooseFileToSave(QWidget *parent, const QString &start, const QString &filter) override
    {
        return QFileDialog::getSaveFileName(parent, QString(), start, filter);
    }
};

} // namespace

SaveFileChooser::~SaveFileChooser() = default;

template <> SaveFileChooser &Service<SaveFileChooser>::systemDefault()
{
    static SystemSaveFileChooser system;
    return system;
}
