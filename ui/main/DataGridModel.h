#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>

class DataSource;

// A table over the rows of a data source's set, one column per named field; it reads the
// snapshot in place and copies nothing. The vertical header marks the current row.
class DataGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DataGridModel(DataSource *source, QStringList fields, QStringList titles,
                  QObject *parent = nullptr);

    // Binds the columns anew; an empty field leaves its column empty.
    void setFields(QStringList fields, QStringList titles);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The set's current row, followed by the model.
    int currentRow() const { return m_current; }

    // A mark shown beside the current-row indicator of each row (a note's, say), asked only
    // for the rows in sight; marksChanged() has the view ask again.
    void setRowMark(std::function<QString(int row)> mark) { m_rowMark = std::move(mark); }
    void marksChanged();

private:
    void refreshColumns();
    void followCurrentRow();

    DataSource *m_source;
    QStringList m_fields;
    QStringList m_titles;
    QList<int> m_columns; // each field's column in the set, -1 when it has none
    int m_current = -1;
    std::function<QString(int row)> m_rowMark;
};
