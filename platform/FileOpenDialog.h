#pragma once

#include <QObject>
#include <QString>

class QWidget;

// The file-open dialog as a component of a window: Execute shows it and, when the reader
// confirms a file, keeps that file's full path in FileName.
class FileOpenDialog : public QObject {
    Q_OBJECT
public:
    explicit FileOpenDialog(QObject *parent = nullptr);

    // True when the reader chose a file; on cancel FileName stays as it was.
    bool Execute(QWidget *parent = nullptr);

    QString FileName;
};
