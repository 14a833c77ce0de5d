#include "platform/FileOpenDialog.h"

#include "platform/FileChooser.h"

#include <QFileInfo>

FileOpenDialog::FileOpenDialog(QObject *parent)
    : QObject(parent)
{
}

bool FileOpenDialog::Execute(QWidget *parent)
{
    const QString chosen = FileChooser::current().chooseFileToOpen(parent, FileName);
    if (chosen.isEmpty())
        return false;
    FileName = QFileInfo(chosen).absoluteFilePath();
    return true;
}
