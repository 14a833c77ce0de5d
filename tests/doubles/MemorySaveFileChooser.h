#pragma once

#include "platform/SaveFileChooser.h"

#include <QStringList>

// A save dialog that answers at once with a path set beforehand (empty: cancelled) and records
// the path each choice offered; installed for its lifetime.
class MemorySaveFileChooser : public SaveFileChooser {
public:
    MemorySaveFileChooser();
    ~MemorySaveFileChooser() override;

    QString chooseFileToSave(QWidget *parent, const QString &start, const QString &filter) override;

    void setAnswer(const QString &path) { m_answer = path; }
    const QStringList &starts() const { return m_starts; }

private:
    QString m_answer;
    QStringList m_starts;
    SaveFileChooser *m_previous;
};
