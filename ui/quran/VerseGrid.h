#pragma once

#include <QTableView>

class DataSource;
class GridFindDialog;
class VerseGridModel;

// The verse grid: whole rows, several selectable; the current row follows the data set and
// the data set follows the grid. Rows are four lines of the grid's font high.
class VerseGrid : public QTableView {
    Q_OBJECT
public:
    explicit VerseGrid(DataSource *source, QWidget *parent = nullptr);

    // The selected rows in the order they stand in the set.
    QList<int> selectedRows() const;
    GridFindDialog *findDialog();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void updateRowHeight();
    void followSet();
    void fillWidth();

    DataSource *m_source;
    VerseGridModel *m_model;
    GridFindDialog *m_find = nullptr;
    bool m_following = false;
    bool m_fitting = false;
    bool m_columnsDragged = false;
};
