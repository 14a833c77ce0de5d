#include "data/DataSource.h"

#include "data/DataSet.h"

DataSource::DataSource(QObject *parent)
    : QObject(parent)
{
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
        connect(m_dataSet, &QObject::destroyed, this, [this] {
            emit reset();
            emit currentChanged();
        });
    }
    emit reset();
    emit currentChanged();
}
