#pragma once

#include "ui/main/DataGrid.h"

// The verse grid: whole rows, several selectable, wrapped text in rows four drawn lines of
// the grid's font high, two columns that share the grid's width.
class VerseGrid : public DataGrid {
    Q_OBJECT
public:
    explicit VerseGrid(DataSource *source, QWidget *parent = nullptr);

    // The selected rows in the order they stand in the set.
    QList<int> selectedRows() const;
    // A row's height in a font: four lines of Arabic and Persian text as they are drawn.
    static int rowHeightFor(const QFont &font);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateRowHeight();
    void fillWidth();

    bool m_fitting = false;
    bool m_columnsDragged = false;
};
