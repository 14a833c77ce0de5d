#pragma once

#include <QPlainTextEdit>

class QToolButton;

// A text pane that can carry the mark of a note: a small button at its left edge, where the
// right-to-left lines end, in a margin of its own while it shows, so that it covers no text.
// Pressing it asks for the note.
class NotePane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit NotePane(QWidget *parent = nullptr);

    void setNoted(bool noted);
    bool isNoted() const { return m_noted; }
    QToolButton *mark() const { return m_mark; }

signals:
    void noteRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void placeMark();

    QToolButton *m_mark;
    bool m_noted = false;
};
