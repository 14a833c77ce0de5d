#pragma once

#include <QString>
#include <QTemporaryDir>

class DataSet;
class Tmain;

// Runs start-up against the real text database in a working directory of its own and tears it
// down again; tests then drive the windows through the program-wide references.
class ProgramFixture {
public:
    enum class Rows {
        // The verse rows read to the end, as the first idle step after the launcher paints does.
        Read,
        // As start-up leaves them: the first row read.
        AsStartUpLeaves,
    };

    // database: the text database to start with, the real one unless given.
    explicit ProgramFixture(const QString &database = QStringLiteral(KEVRAN_TEST_DATABASE),
                            Rows rows = Rows::Read);
    // The real text database, its verse rows as given.
    explicit ProgramFixture(Rows rows)
        : ProgramFixture(QStringLiteral(KEVRAN_TEST_DATABASE), rows)
    {
    }
    ~ProgramFixture();

    bool started() const { return m_started; }
    Tmain *window() const;
    DataSet *verses() const;

private:
    QTemporaryDir m_dir;
    QString m_previousDir;
    bool m_started = false;
};
