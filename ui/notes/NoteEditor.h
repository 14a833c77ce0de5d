#pragma once

#include "reader/ReaderRef.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QPlainTextEdit;
class ReaderData;

// The editor of one verse's or item's note: plain text of any length, right to left. There is
// no save button to forget: the text is saved at most SaveDelayMs after the first change not
// saved yet, when the editor loses the focus, and when it closes. A save that fails (a full
// disk, a folder that cannot be written) is told once, the text stays in the editor, and the
// next change or closing tries again; the editor does not close while its text is unsaved.
class NoteEditor : public QDialog {
    Q_OBJECT
public:
    static constexpr int SaveDelayMs = 500;

    NoteEditor(ReaderData *reader, const ReaderRef &ref, QWidget *parent = nullptr);

    const ReaderRef &ref() const { return m_ref; }
    // Saves the text if it changed since the last save; answers whether nothing is left unsaved.
    // A failure is told the first time in a row of failures, or every time when `tell` (the
    // reader asked to close).
    bool saveNow(bool tell = false);
    bool isDirty() const { return m_dirty; }

    QPlainTextEdit *Text;
    QLabel *State;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void textEdited();

    ReaderData *m_data;
    ReaderRef m_ref;
    qint64 m_revision = 0;
    bool m_dirty = false;
    bool m_failed = false;
    QTimer m_saveTimer;
};
