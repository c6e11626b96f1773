// What the weekly schedule reads from the store, without building the sheet: every weekday's span,
// the employee list, and each employee's shifts on each weekday, on rosters of 1,000 and 8,000
// employees with one hourly shift a day. The time should grow with the roster, not its square.
#include "store/Connection.h"
#include "store/Employees.h"
#include "store/ReportQueries.h"
#include "store/Shifts.h"
#include "store/TimeText.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

// One working database per roster size, made once and shared by the runs.
QString rosterDatabase(int employees)
{
    static QTemporaryDir folder;
    static std::map<int, QString> made;
    if (const auto found = made.find(employees); found != made.end())
        return found->second;
    const QString path = folder.path() + QStringLiteral("/roster-%1.sqlite").arg(employees);
    QFile::copy(QStringLiteral(ROSTELLE_TEMPLATE_DATABASE), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    store::Connection db(QStringLiteral("bench-make"));
    db.open(path);
    db.execute(QStringLiteral("begin"));
    for (int i = 0; i < employees; ++i) {
        const qint64 id = store::insertEmployee(db, QStringLiteral("Employee %1").arg(i, 5, 10, QLatin1Char('0')),
                                                QStringLiteral("Position %1").arg(i % 12));
        const int start = 6 + i % 8;
        const QString in = store::listTimeText(QTime(start, 0));
        const QString out = store::listTimeText(QTime(start + 8, 0));
        for (const store::Weekday day : store::allWeekdays)
            store::insertShift(db, day, id, in, out);
    }
    db.execute(QStringLiteral("commit"));
    made[employees] = path;
    return path;
}

void WholeReportReads(benchmark::State& state)
{
    const int employees = static_cast<int>(state.range(0));
    store::Connection db(QStringLiteral("bench-read"));
    db.open(rosterDatabase(employees));
    std::size_t shifts = 0;
    for (auto _ : state) {
        shifts = 0;
        store::ReportReading reading(db);
        for (const store::Weekday day : store::allWeekdays) {
            benchmark::DoNotOptimize(store::dayStart(reading, day));
            benchmark::DoNotOptimize(store::dayEnd(reading, day));
            for (const store::ReportEmployee& employee : store::reportEmployees(reading))
                shifts += store::reportEmployeeShifts(reading, day, employee.id).size();
        }
    }
    if (shifts != static_cast<std::size_t>(employees) * 7)
        state.SkipWithError("the roster did not read back whole");
}

BENCHMARK(WholeReportReads)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
