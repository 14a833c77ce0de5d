#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class DataSet;

// Connects displays to a data set: it reports every open, close and move of the set it
// points at, and lets the set it points at be changed.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject *parent = nullptr);

    // The set pointed at, or none.
    DataSet *dataSet() const;
    // The set pointed at; none raises the error of an operation on a closed set.
    DataSet *boundSet() const;
    void setDataSet(DataSet *dataSet);

signals:
    // The set was replaced, opened or closed: views over all rows reset.
    void aboutToReset();
    void reset();
    // The current row moved (also emitted after every reset).
    void currentChanged();
    // Rows first to last were added at the end of the set (the rest of a deferred opening).
    void aboutToAppendRows(int first, int last);
    void rowsAppended();
    // The set's first row of an opening, while it reads the others (DataSet::firstRowRead).
    void firstRowRead(const QStringList &fields, const QStringList &values);

protected:
    void connectNotify(const QMetaMethod &signal) override;

private:
    // Passes the set's firstRowRead on: only while someone listens, as the set reads beside
    // it only then.
    void forwardFirstRow();

    QPointer<DataSet> m_dataSet;
};
