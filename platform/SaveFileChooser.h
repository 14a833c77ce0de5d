#pragma once

#include "platform/Service.h"

#include <QString>

class QWidget;

// The file-save dialog of the platform. The default implementation shows the toolkit's own
// dialog; tests install MemorySaveFileChooser instead, so no test waits for a person.
class SaveFileChooser : public Service<SaveFileChooser> {
public:
    virtual ~SaveFileChooser();

    // Lets the reader name a file to write, offering the given path and the files the filter
    // matches ("PDF (*.pdf)"); the path, or an empty text when the reader cancelled. Replacing
    // an existing file is confirmed in the dialog.
    virtual QString chooseFileToSave(QWidget *parent, const QString &start,
                                     const QString &filter) = 0;
};

template <> SaveFileChooser &Service<SaveFileChooser>::systemDefault();
