// Picturing a weekly schedule: a sheet laid out and formatted like the schedule the program builds
// (seven weekday blocks, 14 hourly columns, 14 employees; about 1300 x 2000 px), rendered whole.
// `render_bench --png PATH` writes that picture instead of measuring, to look at it.
#include "sheet/model/SheetData.h"
#include "sheet/render/ImageFile.h"
#include "sheet/render/Renderer.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace sheet;

constexpr int kEmployees = 14;
constexpr int kFirstHour = 7;
constexpr int kTimeColumns = 14;  // 7:00 AM .. 8:00 PM

CellFormat baseFormat()
{
    CellFormat f;
    f.font.name = "Century Gothic";
    f.font.size = 8;
    return f;
}

Border greyLine() { return Border{xlContinuous, 48}; }

class ScheduleSheet {
public:
    ScheduleSheet()
    {
        book.sheets.push_back(std::make_unique<SheetData>());
        sheet = book.sheets.front().get();
        sheet->name = "Shift Schedule";
        build();
    }

    WorkbookData book;
    SheetData* sheet;

private:
    void put(int row, int column, CellValue value, const CellFormat& format)
    {
        Cell& cell = sheet->at(row, column);
        cell.value = std::move(value);
        cell.format = book.formats.intern(format);
    }

    void build()
    {
        const int sick = 3 + kTimeColumns;
        const int total = sick + 1;
        sheet->setColumnWidth(1, 1);
        sheet->setColumnWidth(2, 14);
        for (int c = 3; c < sick; ++c)
            sheet->setColumnWidth(c, 10.5);
        sheet->setColumnWidth(sick, 7.43);
        sheet->setColumnWidth(total, 6.14);
        sheet->setColumnWidth(total + 1, 0.75);
        sheet->setRowHeight(1, 29.25);
        sheet->setRowHeight(2, 13.5);
        sheet->setRowHeight(3, 12);
        sheet->setRowHeight(4, 5);

        CellFormat title = baseFormat();
        title.font.size = 24;
        title.font.bold = true;
        put(1, 2, std::string("Shift Schedule"), title);
        sheet->merges.push_back(CellRect{1, 2, 2, 6});
        CellFormat label = baseFormat();
        label.horizontalAlignment = xlRight;
        put(1, 11, std::string("For the Week of:"), label);
        put(2, 11, std::string("Department Name:"), label);
        CellFormat entry = baseFormat();
        entry.horizontalAlignment = xlCenter;
        entry.wrapText = true;
        entry.borders[kBorderBottom] = greyLine();
        put(1, 12, std::string("March 2 - March 8"), entry);
        put(2, 12, std::string("Front Desk"), entry);
        sheet->merges.push_back(CellRect{1, 12, 1, 13});
        sheet->merges.push_back(CellRect{2, 12, 2, 13});

        static const std::array<const char*, 7> kDays = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
        static const std::array<const char*, 4> kPositions = {"Cashier", "Manager", "Stock", "Greeter"};
        int r = 5;
        for (int day = 0; day < 7; ++day) {
            CellFormat dayTitle = baseFormat();
            dayTitle.font.size = 12;
            dayTitle.font.bold = true;
            dayTitle.font.colorIndex = 16;
            put(r - 1, 2, std::string(kDays[day]), dayTitle);
            sheet->merges.push_back(CellRect{r - 1, 2, r, 2});
            const int h = r;
            CellFormat header = baseFormat();
            header.font.size = 9;
            header.font.colorIndex = 16;
            CellFormat time = header;
            time.numberFormat = kNumberFormatTime;
            for (int i = 0; i < kTimeColumns; ++i)
                put(h, 3 + i, (kFirstHour + i) / 24.0, framed(time, true));
            put(h, sick, std::string("Sick?"), framed(header, true));
            put(h, total, std::string("TOTAL"), framed(header, true));
            CellFormat nameHeader = baseFormat();
            nameHeader.borders[kBorderBottom] = greyLine();
            sheet->at(h, 2).format = book.formats.intern(nameHeader);
            for (int row = h; row <= h + kEmployees; ++row)
                sheet->setRowHeight(row, 13);

            for (int k = 0; k < kEmployees; ++k) {
                const int row = h + 1 + k;
                CellFormat name = baseFormat();
                name.borders[kBorderBottom] = greyLine();
                name.borders[kBorderRight] = greyLine();
                put(row, 2, "Employee " + std::string(1, static_cast<char>('A' + k)), name);
                const bool isSick = (k + day) % 5 == 4;
                int shifts = 0;
                if (!isSick) {
                    const int start = (k * 3 + day) % 6;
                    CellFormat shift = framed(baseFormat(), false);
                    shift.interiorColorIndex = 34 + k % 23;
                    for (int i = start; i < start + 7 && i < kTimeColumns; ++i)
                        put(row, 3 + i, std::string(kPositions[static_cast<std::size_t>(k) % kPositions.size()]), shift);
                    shifts = 1;
                }
                CellFormat grey = framed(baseFormat(), false);
                grey.interiorColorIndex = 15;
                if (isSick) {
                    for (int c = 3; c < sick; ++c)
                        sheet->at(row, c).format = book.formats.intern(grey);
                    put(row, sick, std::string("Sick"), grey);
                } else {
                    for (int c = 3; c <= sick; ++c)
                        if (sheet->find(row, c) == nullptr)
                            sheet->at(row, c).format = book.formats.intern(framed(baseFormat(), false));
                }
                put(row, total, static_cast<double>(shifts), grey);
            }
            r = h + kEmployees + 1;
            sheet->setRowHeight(r, 12);
            ++r;
            sheet->setRowHeight(r, 5);
            ++r;
        }
    }

    // The frame of an employee block: every edge but the header row's top.
    static CellFormat framed(CellFormat f, bool headerRow)
    {
        f.borders[kBorderLeft] = greyLine();
        f.borders[kBorderRight] = greyLine();
        f.borders[kBorderBottom] = greyLine();
        if (!headerRow)
            f.borders[kBorderTop] = greyLine();
        return f;
    }
};

const ScheduleSheet& schedule()
{
    static const ScheduleSheet instance;
    return instance;
}

void BM_RenderSchedule(benchmark::State& state)
{
    const ScheduleSheet& s = schedule();
    const CellRect range = *s.sheet->usedRange();
    QImage picture;
    for (auto _ : state) {
        picture = sheet::render::renderRange(s.book, *s.sheet, range);
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.counters["width_px"] = picture.width();
    state.counters["height_px"] = picture.height();
}
BENCHMARK(BM_RenderSchedule)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--png") == 0) {
        const ScheduleSheet& s = schedule();
        sheet::render::saveImage(sheet::render::renderRange(s.book, *s.sheet, *s.sheet->usedRange()), argv[2]);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
