#include "support/ProgramFixture.h"

#include "app/Program.h"
#include "data/DataSet.h"
#include "data/TDataModule2.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

ProgramFixture::ProgramFixture(const QString &database, Rows rows)
    : m_previousDir(QDir::currentPath())
{
    Program::setUpApplication(*qApp);
    QFile::link(QFileInfo(database).absoluteFilePath(), m_dir.filePath(QStringLiteral("1.db")));
    QDir::setCurrent(m_dir.path());
    m_started = Program::createWindows();
    if (m_started && rows == Rows::Read)
        verses()->fetchAll();
}

ProgramFixture::~ProgramFixture()
{
    Program::destroyWindows();
    QDir::setCurrent(m_previousDir);
}

Tmain *ProgramFixture::window() const
{
    return kevran::main;
}

DataSet *ProgramFixture::verses() const
{
    return kevran::DataModule2 ? kevran::DataModule2->ADOQuery1 : nullptr;
}
