#include "data/DataSource.h"

#include "data/DataSet.h"

#include <QMetaMethod>

DataSource::DataSource(QObject *parent)
    : QObject(parent)
{
}

DataSet *DataSource::dataSet() const
{
    return m_dataSet;
}

DataSet *DataSource::boundSet() const
{
    if (!m_dataSet)
        DataSet::raiseClosed();
    return m_dataSet;
}

void DataSource::setDataSet(DataSet *dataSet)
{
    if (dataSet == m_dataSet)
        return;
    emit aboutToReset();
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    if (m_dataSet) {
        connect(m_dataSet, &DataSet::aboutToChangeState, this, &DataSource::aboutToReset);
        connect(m_dataSet, &DataSet::stateChanged, this, [this] {
            emit reset();
            emit currentChanged();
        });
        connect(m_dataSet, &DataSet::currentChanged, this, &DataSource::currentChanged);
        connect(m_dataSet, &DataSet::aboutToAppendRows, this, &DataSource::aboutToAppendRows);
        connect(m_dataSet, &DataSet::rowsAppended, this, &DataSource::rowsAppended);
        forwardFirstRow();
        // The set is gone by now (the pointer already reads null), so views announce a reset
        // to no rows as for any other change of the set.
        connect(m_dataSet, &QObject::destroyed, this, [this] {
            emit aboutToReset();
            emit reset();
            emit currentChanged();
        });
    }
    emit reset();
    emit currentChanged();
}

void DataSource::connectNotify(const QMetaMethod &signal)
{
    if (signal == QMetaMethod::fromSignal(&DataSource::firstRowRead))
        forwardFirstRow();
}

void DataSource::forwardFirstRow()
{
    if (m_dataSet && isSignalConnected(QMetaMethod::fromSignal(&DataSource::firstRowRead)))
        connect(m_dataSet, &DataSet::firstRowRead, this, &DataSource::firstRowRead,
                Qt::UniqueConnection);
}
