#include "ui/main/DataGridModel.h"

#include "data/DataSet.h"
#include "data/DataSource.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

DataGridModel::DataGridModel(DataSource *source, QStringList fields, QStringList titles,
                             QObject *parent)
    : QAbstractTableModel(parent)
    , m_source(source)
    , m_fields(std::move(fields))
    , m_titles(std::move(titles))
{
    connect(m_source, &DataSource::aboutToReset, this, [this] { beginResetModel(); });
    connect(m_source, &DataSource::reset, this, [this] {
        refreshColumns();
        m_current = -1;
        endResetModel();
    });
    connect(m_source, &DataSource::currentChanged, this, &DataGridModel::followCurrentRow);
    connect(m_source, &DataSource::aboutToAppendRows, this,
            [this](int first, int last) { beginInsertRows(QModelIndex(), first, last); });
    connect(m_source, &DataSource::rowsAppended, this, [this] { endInsertRows(); });
    refreshColumns();
    followCurrentRow();
}

void DataGridModel::setFields(QStringList fields, QStringList titles)
{
    beginResetModel();
    m_fields = std::move(fields);
    m_titles = std::move(titles);
    refreshColumns();
    endResetModel();
}

void DataGridModel::refreshColumns()
{
    m_columns.clear();
    const DataSet *set = m_source->dataSet();
    for (const QString &field : m_fields)
        m_columns.append(set && set->isActive() && !field.isEmpty() ? set->fieldIndex(field) : -1);
}

void DataGridModel::followCurrentRow()
{
    const DataSet *set = m_source->dataSet();
    const int row = set ? set->currentRow() : -1;
    if (row == m_current)
        return;
    const int previous = m_current;
    m_current = row;
    const int last = int(m_fields.size()) - 1;
    for (const int changed : {previous, row}) {
        if (changed < 0 || changed >= rowCount())
            continue;
        emit headerDataChanged(Qt::Vertical, changed, changed);
        if (last >= 0)
            emit dataChanged(index(changed, 0), index(changed, last), {Qt::BackgroundRole});
    }
}

int DataGridModel::rowCount(const QModelIndex &parent) const
{
    const DataSet *set = m_source->dataSet();
    return parent.isValid() || !set || set->isEmpty() ? 0 : set->recordCount();
}

int DataGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size());
}

QVariant DataGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::BackgroundRole) {
        // The current row is tinted across its width; a selected row shows the selection
        // colour over it.
        if (index.row() != m_current)
            return QVariant();
        QColor tint = QGuiApplication::palette().color(QPalette::Highlight);
        tint.setAlpha(72);
        return QBrush(tint);
    }
    if (role != Qt::DisplayRole)
        return QVariant();
    const int column = m_columns.value(index.column(), -1);
    const DataSet *set = m_source->dataSet();
    if (column < 0 || !set)
        return QVariant();
    return set->text(index.row(), column);
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return m_titles.value(section);
    const QString current = section == m_current ? QStringLiteral("◀") : QString();
    return m_rowMark ? current + m_rowMark(section) : current;
}

void DataGridModel::marksChanged()
{
    const int rows = rowCount();
    if (rows > 0)
        emit headerDataChanged(Qt::Vertical, 0, rows - 1);
}
