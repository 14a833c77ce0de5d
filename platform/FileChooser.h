#pragma once

#include "platform/Service.h"

#include <QString>

class QWidget;

// The file-open dialog of the platform. The default implementation shows the toolkit's own
// dialog; tests install MemoryFileChooser instead, so no test waits for a person.
class FileChooser : public Service<FileChooser> {
public:
    virtual ~FileChooser();

    // Lets the reader choose an existing file, starting at the given path (empty: anywhere);
    // the chosen file's path, or an empty text when the reader cancelled.
    virtual QString chooseFileToOpen(QWidget *parent, const QString &start) = 0;
};

template <> FileChooser &Service<FileChooser>::systemDefault();
