#pragma once

#include <QDialog>

class QAbstractItemView;
class QLineEdit;
class QPushButton;

// The data grids' find dialog: finds the next row with a cell that holds a text, matched as a
// search's LIKE matches it (folded, a blank for any run of blanks and punctuation, '%' and '_'
// wildcards), and makes it the grid's current row.
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
