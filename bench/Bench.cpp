#include "bench/Bench.h"

#include "data/LikeMatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace {

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[at];
}

QString ms(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1);
}

} // namespace

Bench::Bench(const QString &database)
{
    sqlite3_open_v2(database.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr);
    LikeMatcher::install(m_db);
}

Bench::~Bench()
{
    sqlite3_close(m_db);
}

double Bench::stepThrough(const QString &sql) const
{
    return stepThrough(m_db, sql.toUtf8());
}

double Bench::stepThrough(sqlite3 *db, const QByteArray &sql)
{
    QElapsedTimer timer;
    timer.start();
    const char *rest = sql.constData();
    while (rest && *rest) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, rest, -1, &stmt, &rest) != SQLITE_OK || !stmt)
            break;
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c)
                sqlite3_column_text(stmt, c);
        }
        sqlite3_finalize(stmt);
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

bool Bench::wanted(const QString &name) const
{
    return m_filter.isEmpty() || name.contains(m_filter) ||
           name.startsWith(QLatin1String("start-up"));
}

void Bench::measure(const QString &name, int runs, const std::function<void(int)> &action,
                    const QStringList &floorSql, const std::function<void(int)> &setup)
{
    if (!wanted(name))
        return;
    std::vector<double> times, floors;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        if (setup) {
            setup(i);
            // What the setup changed is painted before the timing starts.
            QCoreApplication::sendPostedEvents();
        }
        timer.start();
        action(i);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!floorSql.isEmpty())
            floors.push_back(stepThrough(floorSql[i % floorSql.size()]));
    }
    add(name, times, floors);
}

void Bench::add(const QString &name, const std::vector<double> &times,
                const std::vector<double> &floors)
{
    Row row;
    row.name = name;
    row.runs = int(times.size());
    row.median = percentile(times, 0.5);
    row.p90 = percentile(times, 0.9);
    row.floorMedian = floors.empty() ? -1 : percentile(floors, 0.5);
    m_rows.push_back(row);
    std::fprintf(stderr, "%-60s median %8s ms  p90 %8s ms\n", qUtf8Printable(name),
                 qUtf8Printable(ms(row.median)), qUtf8Printable(ms(row.p90)));
}

void Bench::note(const QString &name, const QString &value)
{
    Row row;
    row.name = name;
    row.value = value;
    m_rows.push_back(row);
    std::fprintf(stderr, "%-60s %s\n", qUtf8Printable(name), qUtf8Printable(value));
}

QString Bench::table() const
{
    QString out = QStringLiteral("| action | runs | median ms | p90 ms | SQLite floor median ms | "
                                 "ratio |\n|---|---|---|---|---|---|\n");
    for (const Row &row : m_rows) {
        if (!row.value.isEmpty()) {
            out += QStringLiteral("| %1 | | %2 | | | |\n").arg(row.name, row.value);
            continue;
        }
        const bool floor = row.floorMedian >= 0;
        out += QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 |\n")
                   .arg(row.name)
                   .arg(row.runs)
                   .arg(ms(row.median), ms(row.p90), floor ? ms(row.floorMedian) : QString(),
                        floor && row.floorMedian > 0
                            ? QString::number(row.median / row.floorMedian, 'f', 1)
                            : QString());
    }
    return out;
}
