#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct sqlite3;

// Times actions of the running program beside the same statements run straight on SQLite, and
// collects the rows of a Markdown table.
class Bench {
public:
    explicit Bench(const QString &database);
    ~Bench();

    // Times action `runs` times (setup, untimed, before each run); floorSql, when given, is run
    // as often straight on SQLite with every row stepped through.
    void measure(const QString &name, int runs, const std::function<void(int)> &action,
                 const QStringList &floorSql = {}, const std::function<void(int)> &setup = {});
    // Times only the actions whose name holds this text (start-up always runs).
    void setFilter(const QString &filter) { m_filter = filter; }
    // A row of times taken elsewhere (floors, when given, are the same runs of the floor).
    void add(const QString &name, const std::vector<double> &times,
             const std::vector<double> &floors = {});
    // Whether an action of this name is measured under the filter.
    bool wanted(const QString &name) const;
    // A figure that is no timing: a row of its own.
    void note(const QString &name, const QString &value);

    QString table() const;

    // Milliseconds to run the statements of sql, one after another, on a connection, every row
    // stepped through and every cell read as text.
    static double stepThrough(sqlite3 *db, const QByteArray &sql);

private:
    struct Row {
        QString name;
        double median = 0, p90 = 0, floorMedian = -1;
        int runs = 0;
        QString value;
    };
    double stepThrough(const QString &sql) const;

    sqlite3 *m_db = nullptr;
    QString m_filter;
    std::vector<Row> m_rows;
};
