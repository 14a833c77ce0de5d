#pragma once

#include <QString>
#include <QTemporaryDir>

class DataSet;
class Tmain;

// Runs start-up against the real text database in a working directory of its own and tears it
// down again; tests then drive the windows through the program-wide references.
class ProgramFixture {
public:
    // database: the text database to start with, the real one unless given.
    explicit ProgramFixture(const QString &database = QStringLiteral(KEVRAN_TEST_DATABASE));
    ~ProgramFixture();

    bool started() const { return m_started; }
    Tmain *window() const;
    DataSet *verses() const;

private:
    QTemporaryDir m_dir;
    QString m_previousDir;
    bool m_started = false;
};
