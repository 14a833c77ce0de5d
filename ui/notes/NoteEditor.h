#pragma once

#include "reader/ReaderStore.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class ReaderData;

// The editor of one note: the reader's own note on a verse or item, or a note kept beside it
// (imported, or kept from another window). Plain text of any length, right to left. There is
// no save button to forget: the text is saved at most SaveDelayMs after the first change not
// saved yet, when the editor loses the focus, and when it closes. A save that fails (a full
// disk, a file that cannot be written) is told once, the text stays in the editor, the next
// change tries again, and the text can be saved to a file of its own; closing an editor whose
// text cannot be saved asks what to do with it, and never drops it unasked.
class NoteEditor : public QDialog {
    Q_OBJECT
public:
    static constexpr int SaveDelayMs = 500;

    // note: its ref, and for a kept note its id and origin; the text is read from the store.
    NoteEditor(ReaderData *reader, const ReaderNote &note, QWidget *parent = nullptr);

    const ReaderRef &ref() const { return m_note.ref; }
    bool isKept() const { return m_note.origin != ReaderNote::Own; }
    // Saves the text if it changed since the last save; answers whether nothing is left unsaved.
    // A failure is told the first time in a row of failures, or every time when `tell` (the
    // reader asked to close).
    bool saveNow(bool tell = false);
    bool isDirty() const { return m_dirty; }
    // Writes the text to a file the reader names; answers whether it was written.
    bool saveToFile();

    QPlainTextEdit *Text;
    QLabel *State;
    QPushButton *SaveToFile;
    QPushButton *OtherNotes; // the notes kept beside the reader's own on the same ref
    QPushButton *MergeNote;  // a kept note added to the reader's own

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void textEdited();
    void showOthers();
    void OtherNotesClick();
    void MergeNoteClick();
    void failed(const QString &why, bool tell);

    ReaderData *m_data;
    ReaderNote m_note;
    ReaderStore::NoteBase m_base;
    QString m_failure; // why the last save failed; empty after a save
    bool m_dirty = false;
    QTimer m_saveTimer;
};
