// Speed and memory of the .xls writer and reader on a sheet of 50,000 formatted cells: built
// through the object model and saved, saved from a filled model, and read back. Peak memory
// (resident set of the whole run) is reported with each figure.
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
    f.font = {"Century Gothic", 8 + (row % 3), row % 5 == 0, 16};
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

}  // namespace

BENCHMARK_MAIN();
