#pragma once

#include <QToolButton>

class QPlainTextEdit;

// The mark of a note in a text pane: a small button at the pane's top left corner, where the
// right-to-left lines end, shown while the verse or item in the pane has a note; pressing it
// opens the note.
class NoteMark : public QToolButton {
    Q_OBJECT
public:
    explicit NoteMark(QPlainTextEdit *pane);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();
};
