#pragma once

#include <QString>
#include <QTemporaryDir>

class DataSet;
class Tmain;

// Runs start-up against the real text database in a working directory of its own and tears it
// down again; tests then drive the windows through the program-wide references.
class ProgramFixture {
public:
    ProgramFixture();
    ~ProgramFixture();

    bool started() const { return m_started; }
    Tmain *window() const;
    DataSet *verses() const;

private:
    QTemporaryDir m_dir;
    QString m_previousDir;
    bool m_started = false;
};
