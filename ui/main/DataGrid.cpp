#include "ui/main/DataGrid.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "ui/main/DataGridModel.h"
#include "ui/main/GridFindDialog.h"

#include <QHeaderView>
#include <QShortcut>
#include <algorithm>

DataGrid::DataGrid(DataSource *source, const QStringList &fields, const QStringList &titles,
                   QWidget *parent)
    : QTableView(parent)
    , m_source(source)
    , m_model(new DataGridModel(source, fields, titles, this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setCornerButtonEnabled(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setFixedWidth(14);

    connect(m_source, &DataSource::currentChanged, this, &DataGrid::followSet);
    auto *find = new QShortcut(QKeySequence::Find, this, nullptr, nullptr, Qt::WidgetShortcut);
    connect(find, &QShortcut::activated, this, [this] { findDialog()->show(); });
    followSet();
}

GridFindDialog *DataGrid::findDialog()
{
    if (!m_find)
        m_find = new GridFindDialog(this);
    return m_find;
}

void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    DataSet *set = m_source->dataSet();
    if (!m_following && current.isValid() && set && set->isActive())
        set->gotoBookmark(current.row());
}

void DataGrid::followSet()
{
    const DataSet *set = m_source->dataSet();
    const int row = set ? set->currentRow() : -1;
    if (row < 0 || currentIndex().row() == row)
        return;
    m_following = true;
    const QModelIndex index = m_model->index(row, std::max(currentIndex().column(), 0));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index);
    m_following = false;
}
