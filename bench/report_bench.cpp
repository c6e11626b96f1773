// The weekly schedule from the start button to the preview window showing its picture: the sample
// roster hourly, and 500 employees with two shifts on every weekday at 15-minute steps. The
// hand-over goes to the program's own preview window, as the main window's does. Prints the peak
// resident memory of each benchmark as a counter.
#include "report/ReportDriver.h"

#include "preview/Form3.h"

#include "app/DataSetup.h"
#include "app/Dialogs.h"
#include "app/Paths.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/SampleData.h"
#include "store/Shifts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

// The main window's side of a build, without the main window: the hand-over fills and shows the
// preview window.
class BenchHost final : public report::ReportHost {
public:
    explicit BenchHost(report::Interval interval) : interval_(interval) {}
    QString weekText() const override { return QStringLiteral("Week 50"); }
    QString departmentText() const override { return QStringLiteral("Kitchen"); }
    report::Interval interval() const override { return interval_; }
    void setBusyPointer(bool) override {}
    void loadPreviewPicture(const QString& path, const QImage& written) override
    {
        preview::Form3::instance().loadPicture(path, written);
    }
    void setPreviewWorkbook(const QString& path) override
    {
        workbook = path;
        preview::Form3::instance().setExcelFile(path);
    }
    void showPreview() override { preview::Form3::instance().showPreview(); }
    void hideMainWindow() override {}
    QString workbook;

private:
    report::Interval interval_;
};

// Counts error reports instead of showing them.
class QuietDialogs final : public app::Dialogs {
public:
    int messageBox(const QString& text, int, const QString&) override
    {
        ++reports;
        last = text;
        return app::msg::kYes;
    }
    QString saveFileName(const QString&, const QString&) override { return {}; }
    int reports = 0;
    QString last;
};

// A private data home and temporary folder with a fresh working database.
class Workspace {
public:
    Workspace()
    {
        qputenv("XDG_DATA_HOME", (dir_.path() + "/data").toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir_.path() + "/config").toUtf8());
        qputenv("TMPDIR", (dir_.path() + "/tmp").toUtf8());
        QDir().mkpath(dir_.path() + "/tmp");
        app::paths::setProgramFolder(QStringLiteral(ROSTELLE_PROGRAM_DIR));
        QDir().mkpath(app::paths::dataFolder());
        app::copyTemplateDatabase(app::paths::templateDatabase(), app::paths::workingDatabase());
        store::shared().open(app::paths::workingDatabase());
        app::setDialogs(&dialogs);
    }
    ~Workspace()
    {
        app::setDialogs(nullptr);
        store::shared().close();
    }
    QuietDialogs dialogs;

private:
    QTemporaryDir dir_;
};

// The process's peak resident memory since the last reset (Linux: VmHWM, reset through
// clear_refs), so that each benchmark reports its own peak rather than the largest so far.
void resetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void runBuilds(benchmark::State& state, Workspace& workspace, report::Interval interval)
{
    BenchHost host(interval);
    resetPeakMemory();
    for (auto _ : state) {
        report::startButtonClick(host);
        state.PauseTiming();
        QFile::remove(host.workbook);
        delete preview::Form3::existing();  // each build starts from no preview, as the program's first does
        state.ResumeTiming();
    }
    if (workspace.dialogs.reports > 0)
        state.SkipWithError(qPrintable(workspace.dialogs.last));
    state.counters["peak_MB"] = peakMegabytes();
}

void SampleRosterHourly(benchmark::State& state)
{
    Workspace workspace;
    std::vector<qint64> ids;
    for (const auto& employee : store::sampleEmployees())
        ids.push_back(store::insertEmployee(store::shared(), employee.name, employee.position));
    for (const auto& shift : store::sampleShifts(60))
        store::insertShift(store::shared(), shift.weekday, ids[shift.employee], shift.timeIn, shift.timeOut);
    runBuilds(state, workspace, report::Interval::Hourly);
}

void FiveHundredEmployeesQuarterHour(benchmark::State& state)
{
    Workspace workspace;
    static const char* morning[] = {"06:00:00 AM", "06:15:00 AM", "06:30:00 AM", "06:45:00 AM",
                                    "07:00:00 AM", "07:30:00 AM", "08:00:00 AM", "08:15:00 AM"};
    static const char* morningEnd[] = {"10:00:00 AM", "10:15:00 AM", "10:30:00 AM", "10:45:00 AM",
                                       "11:00:00 AM", "11:30:00 AM", "12:00:00 PM", "12:15:00 PM"};
    static const char* afternoon[] = {"01:00:00 PM", "01:15:00 PM", "01:30:00 PM", "01:45:00 PM"};
    static const char* afternoonEnd[] = {"05:00:00 PM", "05:15:00 PM", "05:30:00 PM", "05:45:00 PM"};
    store::shared().execute(QStringLiteral("begin"));
    for (int i = 0; i < 500; ++i) {
        const qint64 id = store::insertEmployee(store::shared(), QStringLiteral("Employee %1").arg(i, 3, 10, QLatin1Char('0')),
                                                QStringLiteral("Position %1").arg(i % 12));
        for (store::Weekday day : store::allWeekdays) {
            store::insertShift(store::shared(), day, id, morning[i % 8], morningEnd[i % 8]);
            store::insertShift(store::shared(), day, id, afternoon[i % 4], afternoonEnd[i % 4]);
        }
    }
    store::shared().execute(QStringLiteral("commit"));
    runBuilds(state, workspace, report::Interval::FifteenMinutes);
}

BENCHMARK(SampleRosterHourly)->Unit(benchmark::kMillisecond);
BENCHMARK(FiveHundredEmployeesQuarterHour)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    // Painting the picture needs the graphics platform; the offscreen one needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
