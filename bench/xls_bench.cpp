// Speed and memory of the .xls writer and reader: a sheet of 50,000 formatted cells built through
// the object model and saved, saved from a filled model, and read back; and a sheet shaped like
// the weekly schedule of 500 employees (seven weekday blocks, two quarter-hour shifts a day each),
// and like that of the largest roster the sheet holds (9,359 employees, one shift over the whole
// day), built through the object model as the report builds it, saved, and read back. Peak memory
// (resident set of the whole run) is reported with each figure, so run one benchmark at a time
// (--benchmark_filter) for a figure of its own.
#include "sheet/Application.h"
#include "sheet/Range.h"
#include "sheet/Workbook.h"
#include "sheet/xls/XlsReader.h"
#include "sheet/xls/XlsWriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace sheet;

namespace {

constexpr int kRows = 500;
constexpr int kColumns = 100;  // 50,000 cells

std::string benchPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()) + ".xls")).string();
}

double peakMegabytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The shape of a schedule: coloured, bordered cells with times, labels and numbers.
CellFormat formatFor(int row, int column)
{
    CellFormat f;
    f.font = {"Century Gothic", 8.0 + row % 3, row % 5 == 0, 16};
    f.horizontalAlignment = column % 2 ? xlCenter : xlRight;
    f.verticalAlignment = xlCenter;
    f.interiorColorIndex = 34 + (row + column) % 20;
    for (Border& b : f.borders)
        b = {xlContinuous, 48};
    return f;
}

std::unique_ptr<WorkbookData> filledModel()
{
    auto book = std::make_unique<WorkbookData>();
    auto s = std::make_unique<SheetData>();
    s->name = "Shift Schedule";
    for (int r = 1; r <= kRows; ++r) {
        s->setRowHeight(r, 12.75);
        for (int c = 1; c <= kColumns; ++c) {
            Cell& cell = s->at(r, c);
            cell.format = book->formats.intern(formatFor(r, c));
            switch (c % 3) {
            case 0: cell.value = std::string("Cashier ") + std::to_string(r % 40); break;
            case 1: cell.value = ((r + c) % 96) / 96.0; break;
            default: cell.value = static_cast<double>(r * c % 1000) / 4; break;
            }
        }
    }
    for (int c = 1; c <= kColumns; ++c)
        s->setColumnWidth(c, 7.43);
    book->sheets.push_back(std::move(s));
    return book;
}

// state.range(0): 1 builds and saves, 0 only builds (to tell the two costs apart).
void BM_BuildThroughObjectModelAndSave(benchmark::State& state)
{
    const bool save = state.range(0) != 0;
    const std::string path = benchPath("xls-bench-object-model");
    for (auto _ : state) {
        Application app;
        Workbook book = app.Workbooks().add();
        // Values cell by cell, formats row by row, as the report formats whole blocks.
        for (int r = 1; r <= kRows; ++r) {
            for (int c = 1; c <= kColumns; ++c) {
                const Range cell = app.Cells(r, c);
                switch (c % 3) {
                case 0: cell.setFormulaR1C1("Cashier " + std::to_string(r % 40)); break;
                case 1: cell.setFormulaR1C1("7:00:00 AM"); break;
                default: cell.setFormulaR1C1(std::to_string(r * c % 1000)); break;
                }
            }
            const CellFormat f = formatFor(r, 1);
            const Range row = app.Range("A" + std::to_string(r) + ":CV" + std::to_string(r));
            row.Font().setName(f.font.name);
            row.Font().setSize(f.font.size);
            row.Font().setBold(f.font.bold);
            row.Font().setColorIndex(f.font.colorIndex);
            row.setHorizontalAlignment(f.horizontalAlignment);
            row.setVerticalAlignment(f.verticalAlignment);
            row.Interior().setColorIndex(f.interiorColorIndex);
        }
        // Borders and sizes the way the report draws them: over whole blocks.
        const Range all = app.Range("A1:CV500");
        for (int edge : {xlEdgeLeft, xlEdgeTop, xlEdgeBottom, xlEdgeRight, xlInsideVertical, xlInsideHorizontal}) {
            all.Borders(edge).setLineStyle(xlContinuous);
            all.Borders(edge).setColorIndex(48);
        }
        all.setRowHeight(12.75);
        all.setColumnWidth(7.43);
        if (save)
            book.SaveAs(path, xlExcel8);
        book.Close();
        app.Quit();
    }
    state.counters["peak_MB"] = peakMegabytes();
    std::remove(path.c_str());
}
BENCHMARK(BM_BuildThroughObjectModelAndSave)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_SaveFilledModel(benchmark::State& state)
{
    const auto book = filledModel();
    const std::string path = benchPath("xls-bench-save");
    for (auto _ : state)
        xls::writeWorkbook(*book, path);
    state.counters["file_KB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024;
    state.counters["peak_MB"] = peakMegabytes();
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveFilledModel)->Unit(benchmark::kMillisecond);

void BM_ReadBack(benchmark::State& state)
{
    const std::string path = benchPath("xls-bench-read");
    xls::writeWorkbook(*filledModel(), path);
    for (auto _ : state) {
        auto book = xls::readWorkbook(path);
        benchmark::DoNotOptimize(book);
    }
    state.counters["peak_MB"] = peakMegabytes();
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadBack)->Unit(benchmark::kMillisecond);

std::string cellName(int row, int column)
{
    std::string letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row);
}

std::string slotText(int minutes)
{
    const int hour = minutes / 60 % 24;
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d:00 %s", hour % 12 == 0 ? 12 : hour % 12, minutes % 60, hour < 12 ? "AM" : "PM");
    return text;
}

// What the report's primitives do for one call: select, then act on the selection.
struct Primitives {
    Application& xl;
    void put(const std::string& range, const std::string& text, bool asTyped = false)
    {
        xl.Range(range).Select();
        if (asTyped)
            xl.ActiveCell().setText(text);
        else
            xl.ActiveCell().setFormulaR1C1(text);
        xl.Selection().Merge();
    }
    void font(bool bold, double size, int colour)
    {
        RangeFont f = xl.Selection().Font();
        f.setBold(bold);
        f.setSize(size);
        f.setColorIndex(colour);
    }
    void border(const std::string& range, std::initializer_list<int> edges)
    {
        xl.Range(range).Select();
        for (int edge : edges) {
            xl.Selection().Borders(edge).setLineStyle(xlContinuous);
            xl.Selection().Borders(edge).setColorIndex(48);
        }
    }
    void fill(const std::string& range, int colour)
    {
        xl.Range(range).Select();
        xl.Selection().Interior().setColorIndex(colour);
    }
};

// The weekly schedule's sheet for `employees` employees on the quarter-hour grid, each with a
// morning and an afternoon shift on every weekday (6:00 AM to 6:15 PM), or with one shift over the
// whole day (12:00 AM to 11:45 PM), as the largest roster the sheet holds has.
void buildSchedule(Application& xl, int employees, bool wholeDay = false)
{
    static const int morning[] = {360, 375, 390, 405, 420, 450, 480, 495};
    static const int afternoon[] = {780, 795, 810, 825};
    const int kFirstSlot = wholeDay ? 0 : 360, kLastSlot = wholeDay ? 1425 : 1095;
    constexpr int kStep = 15;
    Primitives p{xl};
    xl.Cells().Select();
    xl.Selection().Clear();
    xl.Selection().Font().setName("Century Gothic");
    xl.Selection().Font().setSize(8);
    xl.Columns("A:A").setColumnWidth(1);
    xl.Columns("B:B").setColumnWidth(14);
    p.put("B1:F2", "Shift Schedule");
    p.font(true, 24, xlColorIndexAutomatic);
    int row = 5;
    for (const char* day : {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"}) {
        p.put(cellName(row - 1, 2) + ":" + cellName(row, 2), day);
        p.font(true, 12, 16);
        const int header = row;
        int column = 3;
        for (int t = kFirstSlot; t <= kLastSlot; t += kStep, ++column) {
            xl.Columns(cellName(1, column).substr(0, cellName(1, column).size() - 1)).setColumnWidth(10.5);
            p.put(cellName(header, column) + ":" + cellName(header, column), slotText(t));
            p.font(false, 9, 16);
        }
        const int sick = column, total = column + 1;
        p.put(cellName(header, sick) + ":" + cellName(header, sick), "Sick?");
        p.put(cellName(header, total) + ":" + cellName(header, total), "TOTAL");
        const int last = header + employees;
        p.border(cellName(header, 2) + ":" + cellName(header, 2), {xlInsideHorizontal, xlEdgeBottom});
        p.border(cellName(header + 1, 2) + ":" + cellName(last, 2), {xlInsideHorizontal, xlEdgeRight, xlEdgeBottom});
        p.border(cellName(header, 3) + ":" + cellName(last, total),
                 {xlInsideHorizontal, xlEdgeLeft, xlEdgeRight, xlEdgeBottom, xlInsideVertical});
        xl.Rows(std::to_string(header) + ":" + std::to_string(last)).setRowHeight(13);
        p.fill(cellName(header + 1, total) + ":" + cellName(last, total), 15);
        for (int e = 0; e < employees; ++e) {
            const int r = header + 1 + e;
            p.put(cellName(r, 2) + ":" + cellName(r, 2), "Employee " + std::to_string(e), true);
            const auto shifts = wholeDay ? std::vector{std::pair{kFirstSlot, kLastSlot}}
                                         : std::vector{std::pair{morning[e % 8], morning[e % 8] + 240},
                                                       std::pair{afternoon[e % 4], afternoon[e % 4] + 240}};
            for (const auto& [in, out] : shifts)
                for (int t = in; t <= out; t += kStep) {
                    const std::string cell = cellName(r, 3 + (t - kFirstSlot) / kStep);
                    p.put(cell + ":" + cell, "Position " + std::to_string(e % 12), true);
                    p.fill(cell + ":" + cell, 34 + e % 23);
                }
            p.put(cellName(r, total) + ":" + cellName(r, total), "2");
        }
        row = last + 1;
        xl.Rows(std::to_string(row) + ":" + std::to_string(row)).setRowHeight(12);
        ++row;
        xl.Rows(std::to_string(row) + ":" + std::to_string(row)).setRowHeight(5);
    }
    SheetPageSetup page = xl.ActiveSheet().PageSetup();
    page.setOrientation(xlLandscape);
    page.setPaperSize(xlPaperA4);
    page.setZoom(false);
}

// state.range(0): employees; state.range(1): 1 for one shift over the whole day.
void BM_ScheduleBuildAndSave(benchmark::State& state)
{
    const std::string path = benchPath("xls-bench-schedule");
    for (auto _ : state) {
        Application xl;
        Workbook book = xl.Workbooks().add();
        buildSchedule(xl, static_cast<int>(state.range(0)), state.range(1) != 0);
        book.SaveAs(path, xlExcel8);
        book.Close();
        xl.Quit();
    }
    state.counters["file_KB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024;
    state.counters["peak_MB"] = peakMegabytes();
    std::remove(path.c_str());
}
BENCHMARK(BM_ScheduleBuildAndSave)->Args({500, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScheduleBuildAndSave)->Args({9359, 1})->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ScheduleReadBack(benchmark::State& state)
{
    const std::string path = benchPath("xls-bench-schedule-read");
    // Written by a child process, so that the peak memory shown is the reader's alone.
    const pid_t child = ::fork();
    if (child == 0) {
        Application xl;
        Workbook book = xl.Workbooks().add();
        buildSchedule(xl, static_cast<int>(state.range(0)), state.range(1) != 0);
        book.SaveAs(path, xlExcel8);
        ::_exit(0);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || status != 0) {
        state.SkipWithError("the workbook could not be written");
        return;
    }
    for (auto _ : state) {
        auto book = xls::readWorkbook(path);
        benchmark::DoNotOptimize(book);
    }
    state.counters["peak_MB"] = peakMegabytes();
    std::remove(path.c_str());
}
BENCHMARK(BM_ScheduleReadBack)->Args({500, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScheduleReadBack)->Args({9359, 1})->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
