#pragma once

#include "platform/FileChooser.h"

#include <QStringList>

// A file chooser that answers at once with a path set beforehand (empty: cancelled) and
// records where each choice started; installed for its lifetime.
class MemoryFileChooser : public FileChooser {
public:
    MemoryFileChooser();
    ~MemoryFileChooser() override;

    QString chooseFileToOpen(QWidget *parent, const QString &start) override;

    void setAnswer(const QString &path) { m_answer = path; }
    const QStringList &starts() const { return m_starts; }

private:
    QString m_answer;
    QStringList m_starts;
    FileChooser *m_previous;
};
