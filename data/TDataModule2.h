#pragma once

#include <QObject>
#include <QString>

class Connection;
class DataSet;

// The data module: the program's main connection with the verse set and the result set.
class TDataModule2 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule2(QObject *parent = nullptr);

    // Loading: opens the connection and the verse set with every verse, on its first row; the
    // other rows are read when first needed (DataSet::openDeferred). Errors propagate.
    void DataModuleCreate();

    // The reader's Persian translation, chosen on the connection before the verse set opens;
    // one the database lacks leaves the database's own.
    void setTranslation(const QString &code) { m_translation = code; }

    Connection *ADOConnection1;
    DataSet *ADOQuery1; // the verse set
    DataSet *ADOQuery2; // the result set

private:
    QString m_translation;
};
