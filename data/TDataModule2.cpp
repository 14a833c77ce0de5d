#include "data/TDataModule2.h"

#include "data/Connection.h"
#include "data/DataSet.h"
#include "data/Translations.h"
#include "platform/Error.h"

TDataModule2::TDataModule2(QObject *parent)
    : QObject(parent)
    , ADOConnection1(new Connection(this))
    , ADOQuery1(new DataSet(ADOConnection1, this))
    , ADOQuery2(new DataSet(ADOConnection1, this))
{
    setObjectName(QStringLiteral("DataModule2"));
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery2->setObjectName(QStringLiteral("ADOQuery2"));
    ADOQuery1->addSql(QStringLiteral("select *From num left join main on num.id=main.id1"));
    ADOQuery2->addSql(QStringLiteral("select *From main left join num on main.id=num.id"));
}

void TDataModule2::DataModuleCreate()
{
    ADOConnection1->open();
    if (!m_translation.isEmpty()) {
        try {
            Translations::choose(ADOConnection1, m_translation);
        } catch (const Error &) {
            // A database whose translations cannot be read still shows its own.
        }
    }
    ADOQuery1->openDeferred();
}
