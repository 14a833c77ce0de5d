#pragma once

#include <QStringList>
#include <QTableView>

class DataGridModel;
class DataSource;
class GridFindDialog;

// A read-only data grid over a data source: a title row, a current-row indicator, the set's
// current row followed by the grid and the grid's by the set, and Ctrl+F to find a text.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    DataGrid(DataSource *source, const QStringList &fields, const QStringList &titles,
             QWidget *parent = nullptr);

    DataGridModel *dataModel() const { return m_model; }
    GridFindDialog *findDialog();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void followSet();

    DataSource *m_source;
    DataGridModel *m_model;
    GridFindDialog *m_find = nullptr;
    bool m_following = false;
};
