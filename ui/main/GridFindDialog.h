#pragma once

#include <QDialog>

class QAbstractItemView;
class QLineEdit;
class QPushButton;

// The data grids' find dialog: finds the next row whose cells hold a text, both folded as the
// searches fold them, and makes it the grid's current row.
class GridFindDialog : public QDialog {
    Q_OBJECT
public:
    explicit GridFindDialog(QAbstractItemView *grid);

    // Answers whether a row was found.
    bool findNext();

    QLineEdit *FindText;
    QPushButton *FindNext;

private:
    QAbstractItemView *m_grid;
};
