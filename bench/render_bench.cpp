// Picturing weekly schedules: sheets laid out and formatted like the schedule the program builds
// (seven weekday blocks, a column per time slot, a row per employee), rendered whole. Three sizes:
// 14 employees hourly (about 1300 x 2000 px at full size), 500 employees with two shifts at
// 15-minute steps, and the largest the sheet holds (9,359 employees, 15 minutes over a whole day,
// 65,531 rows by 101 columns). Each figure comes with the memory the render allocated at its
// peak besides the picture (C++ heap, counted by this program's operator new), which must not grow
// with the range. Also the 500-employee schedule as a one-page PDF, PNG encoding of its picture at
// several zlib levels, and BMP encoding by Qt's writer and by the row writer. And the preview's
// view of the largest roster: its first paint at a zoom (tiles drawn) and a scroll repaint from
// the tiles it holds, with the tiles' memory.
// `render_bench --png PATH` writes the 14-employee picture instead of measuring, to look at it.
#include "preview/TileCache.h"
#include "sheet/model/SheetData.h"
#include "sheet/render/BmpWriter.h"
#include "sheet/render/ImageFile.h"
#include "sheet/render/PagePainter.h"
#include "sheet/render/Renderer.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

// Heap bytes in use and their peak, counted by every C++ allocation of the program. Pictures are
// allocated by Qt with malloc and stay out of the count.
namespace {
std::atomic<long long> heapInUse{0};
std::atomic<long long> heapPeak{0};

void* counted(void* memory)
{
    if (memory == nullptr)
        throw std::bad_alloc();
    const long long now = heapInUse += static_cast<long long>(malloc_usable_size(memory));
    long long peak = heapPeak.load();
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
    return memory;
}

void uncount(void* memory)
{
    if (memory == nullptr)
        return;
    heapInUse -= static_cast<long long>(malloc_usable_size(memory));
    std::free(memory);
}
}  // namespace

void* operator new(std::size_t size) { return counted(std::malloc(size == 0 ? 1 : size)); }
void* operator new[](std::size_t size) { return counted(std::malloc(size == 0 ? 1 : size)); }
void operator delete(void* memory) noexcept { uncount(memory); }
void operator delete[](void* memory) noexcept { uncount(memory); }
void operator delete(void* memory, std::size_t) noexcept { uncount(memory); }
void operator delete[](void* memory, std::size_t) noexcept { uncount(memory); }

namespace {

using namespace sheet;

// A roster's shape: how many employees, how many time columns, and which of them an employee's
// shifts cover on a weekday.
struct RosterShape {
    int employees;
    int timeColumns;
    bool hourly;                                  // time headers on the hour, else every 15 minutes
    bool (*onShift)(int employee, int day, int slot);
    bool (*isSick)(int employee, int day);
};

// The 14-employee hourly week: 7:00 AM .. 8:00 PM, one seven-hour shift, some employees sick.
bool smallOnShift(int k, int day, int slot)
{
    const int start = (k * 3 + day) % 6;
    return slot >= start && slot < start + 7;
}
bool smallSick(int k, int day) { return (k + day) % 5 == 4; }

// Two four-hour shifts a day on a 15-minute grid from 6:00 AM: morning and afternoon.
bool twoShifts(int k, int, int slot)
{
    const int morning = k % 8;
    const int afternoon = 28 + k % 4;
    return (slot >= morning && slot < morning + 16) || (slot >= afternoon && slot < afternoon + 16);
}
// One shift over the whole day.
bool wholeDay(int, int, int) { return true; }
bool neverSick(int, int) { return false; }

constexpr RosterShape kSmall{14, 14, true, smallOnShift, smallSick};
constexpr RosterShape kFiveHundred{500, 48, false, twoShifts, neverSick};
constexpr RosterShape kLargest{9359, 96, false, wholeDay, neverSick};

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
    explicit ScheduleSheet(const RosterShape& shape) : shape_(shape)
    {
        book.sheets.push_back(std::make_unique<SheetData>());
        sheet = book.sheets.front().get();
        sheet->name = "Shift Schedule";
        build();
    }

    WorkbookData book;
    SheetData* sheet;

private:
    void put(int row, int column, CellValue value, FormatId format)
    {
        Cell& cell = sheet->at(row, column);
        cell.value = std::move(value);
        cell.format = format;
    }
    void put(int row, int column, CellValue value, const CellFormat& format)
    {
        put(row, column, std::move(value), book.formats.intern(format));
    }

    void build()
    {
        const int columns = shape_.timeColumns;
        const int sick = 3 + columns;
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
        sheet->pageSetup.orientation = xlLandscape;
        sheet->pageSetup.paperSize = xlPaperA4;
        sheet->pageSetup.topMargin = sheet->pageSetup.bottomMargin = 36;
        sheet->pageSetup.zoom = std::nullopt;

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
        const FormatId plain = book.formats.intern(framed(baseFormat(), false));
        CellFormat greyFormat = framed(baseFormat(), false);
        greyFormat.interiorColorIndex = 15;
        const FormatId grey = book.formats.intern(greyFormat);
        CellFormat nameFormat = baseFormat();
        nameFormat.borders[kBorderBottom] = greyLine();
        nameFormat.borders[kBorderRight] = greyLine();
        const FormatId name = book.formats.intern(nameFormat);
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
            const double firstHour = shape_.hourly ? 7 : 6;
            const double step = shape_.hourly ? 1 : 0.25;
            for (int i = 0; i < columns; ++i)
                put(h, 3 + i, (firstHour + i * step) / 24.0, framed(time, true));
            put(h, sick, std::string("Sick?"), framed(header, true));
            put(h, total, std::string("TOTAL"), framed(header, true));
            CellFormat nameHeader = baseFormat();
            nameHeader.borders[kBorderBottom] = greyLine();
            sheet->at(h, 2).format = book.formats.intern(nameHeader);
            for (int row = h; row <= h + shape_.employees; ++row)
                sheet->setRowHeight(row, 13);

            for (int k = 0; k < shape_.employees; ++k) {
                const int row = h + 1 + k;
                put(row, 2, "Employee " + std::to_string(k + 1), name);
                const bool isSick = shape_.isSick(k, day);
                CellFormat shift = framed(baseFormat(), false);
                shift.interiorColorIndex = 34 + k % 23;
                const FormatId shiftFormat = book.formats.intern(shift);
                const std::string position = kPositions[static_cast<std::size_t>(k) % kPositions.size()];
                int shifts = 0;
                for (int i = 0; i < columns; ++i) {
                    if (isSick)
                        sheet->at(row, 3 + i).format = grey;
                    else if (shape_.onShift(k, day, i))
                        put(row, 3 + i, position, shiftFormat), shifts = 1;
                    else
                        sheet->at(row, 3 + i).format = plain;
                }
                if (isSick)
                    put(row, sick, std::string("Sick"), grey);
                else
                    sheet->at(row, sick).format = plain;
                put(row, total, static_cast<double>(shifts), grey);
            }
            r = h + shape_.employees + 1;
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

    RosterShape shape_;
};

const ScheduleSheet& schedule(const RosterShape& shape)
{
    if (shape.employees == kSmall.employees) {
        static const ScheduleSheet small(kSmall);
        return small;
    }
    if (shape.employees == kFiveHundred.employees) {
        static const ScheduleSheet fiveHundred(kFiveHundred);
        return fiveHundred;
    }
    static const ScheduleSheet largest(kLargest);
    return largest;
}

void renderRoster(benchmark::State& state, const RosterShape& shape)
{
    const ScheduleSheet& s = schedule(shape);
    const CellRect range = *s.sheet->usedRange();
    QImage picture;
    long long extra = 0;
    for (auto _ : state) {
        picture = QImage();
        const long long before = heapInUse.load();
        heapPeak = before;
        picture = sheet::render::renderRange(s.book, *s.sheet, range);
        benchmark::DoNotOptimize(picture.constBits());
        extra = std::max(extra, heapPeak.load() - before);
    }
    state.counters["width_px"] = picture.width();
    state.counters["height_px"] = picture.height();
    state.counters["cells"] = static_cast<double>(range.rowCount()) * range.columnCount();
    state.counters["heap_peak_MB"] = static_cast<double>(extra) / (1024.0 * 1024.0);
}

void BM_RenderSchedule(benchmark::State& state) { renderRoster(state, kSmall); }
BENCHMARK(BM_RenderSchedule)->Unit(benchmark::kMillisecond);

void BM_Render500Employees(benchmark::State& state) { renderRoster(state, kFiveHundred); }
BENCHMARK(BM_Render500Employees)->Unit(benchmark::kMillisecond);

void BM_RenderLargestRoster(benchmark::State& state) { renderRoster(state, kLargest); }
BENCHMARK(BM_RenderLargestRoster)->Unit(benchmark::kMillisecond)->Iterations(2);

// A schedule as a one-page PDF, as a spreadsheet prints it (A4 landscape).
void pdfOfRoster(benchmark::State& state, const RosterShape& shape)
{
    const ScheduleSheet& s = schedule(shape);
    QByteArray pdf;
    long long extra = 0;
    for (auto _ : state) {
        pdf.clear();
        const long long before = heapInUse.load();
        heapPeak = before;
        pdf = sheet::render::activeSheetPdf(s.book);
        extra = std::max(extra, heapPeak.load() - before);
    }
    state.counters["bytes"] = static_cast<double>(pdf.size());
    state.counters["heap_peak_MB"] = static_cast<double>(extra) / (1024.0 * 1024.0);
}

void BM_Pdf500Employees(benchmark::State& state) { pdfOfRoster(state, kFiveHundred); }
BENCHMARK(BM_Pdf500Employees)->Unit(benchmark::kMillisecond);

// Its texts are far too small for any zoom to show, and are left out.
void BM_PdfLargestRoster(benchmark::State& state) { pdfOfRoster(state, kLargest); }
BENCHMARK(BM_PdfLargestRoster)->Unit(benchmark::kMillisecond)->Iterations(2);

// PNG of the 500-employee picture at a writer quality: -1 is zlib's default level (6); Qt's PNG
// writer maps quality q to level (100 - q) * 9 / 91, so 80 is level 1 and 90 is level 0 (stored).
void BM_EncodePng500Employees(benchmark::State& state)
{
    const ScheduleSheet& s = schedule(kFiveHundred);
    const QImage picture = sheet::render::renderRange(s.book, *s.sheet, *s.sheet->usedRange());
    const int quality = static_cast<int>(state.range(0));
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG", quality);
        bytes = buffer.size();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_EncodePng500Employees)->Arg(-1)->Arg(50)->Arg(80)->Arg(90)->Unit(benchmark::kMillisecond);

// BMP of the 500-employee picture: 0 is Qt's writer into memory (a 24-bit copy of the picture,
// then the file's bytes), 1 the row writer handing pieces to a sink that drops them.
void BM_EncodeBmp500Employees(benchmark::State& state)
{
    const ScheduleSheet& s = schedule(kFiveHundred);
    const QImage picture = sheet::render::renderRange(s.book, *s.sheet, *s.sheet->usedRange());
    qint64 bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        if (state.range(0) == 0) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
            bytes = buffer.size();
        } else {
            sheet::render::writeBmp(picture, [&](const void*, std::size_t size) { bytes += static_cast<qint64>(size); });
        }
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_EncodeBmp500Employees)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The preview's view area at the window's laid-out size, in pixels.
constexpr QSize kPreviewView(618, 491);

preview::SheetPicture largestPicture()
{
    const ScheduleSheet& s = schedule(kLargest);
    // The benchmark's roster lives as long as the program: the picture only borrows it.
    return preview::SheetPicture::ofWorkbook(std::shared_ptr<const WorkbookData>(&s.book, [](const WorkbookData*) {}));
}

// The view in the middle of the picture at zoom state.range(0) / 100.
QRect middleView(const preview::SheetPicture& picture, double zoom)
{
    const QPoint centre(static_cast<int>(picture.size().width() * zoom / 2), static_cast<int>(picture.size().height() * zoom / 2));
    return QRect(centre - QPoint(kPreviewView.width() / 2, kPreviewView.height() / 2), kPreviewView);
}

// First paint of the view at a new zoom: every tile it shows is drawn.
void BM_PreviewFirstPaintLargestRoster(benchmark::State& state)
{
    const preview::SheetPicture picture = largestPicture();
    const double zoom = static_cast<double>(state.range(0)) / 100.0;
    const QRect view = middleView(picture, zoom);
    QImage screen(kPreviewView, QImage::Format_RGB32);
    for (auto _ : state) {
        preview::TileCache tiles;
        tiles.setPicture(picture);
        QPainter painter(&screen);
        painter.translate(-view.topLeft());
        tiles.paint(painter, view, zoom, 1.0);
    }
}
BENCHMARK(BM_PreviewFirstPaintLargestRoster)->Arg(25)->Arg(100)->Arg(275)->Unit(benchmark::kMillisecond);

// A scroll repaint: the view moved by a wheel notch, its tiles made; and the tiles' memory.
void BM_PreviewScrollRepaintLargestRoster(benchmark::State& state)
{
    const preview::SheetPicture picture = largestPicture();
    const double zoom = static_cast<double>(state.range(0)) / 100.0;
    QRect view = middleView(picture, zoom);
    QImage screen(kPreviewView, QImage::Format_RGB32);
    preview::TileCache tiles;
    tiles.setPicture(picture);
    const auto paint = [&] {
        QPainter painter(&screen);
        painter.translate(-view.topLeft());
        tiles.paint(painter, view, zoom, 1.0);
    };
    paint();
    view.translate(0, 51);
    paint();
    int step = -51;
    for (auto _ : state) {
        view.translate(0, step);
        step = -step;
        paint();
    }
    state.counters["tiles_held"] = tiles.heldTiles();
    state.counters["tiles_MB"] = tiles.heldTiles() * preview::kTileSide * preview::kTileSide * 4.0 / (1024.0 * 1024.0);
}
BENCHMARK(BM_PreviewScrollRepaintLargestRoster)->Arg(25)->Arg(100)->Arg(275)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--png") == 0) {
        const ScheduleSheet& s = schedule(kSmall);
        sheet::render::saveImage(sheet::render::renderRange(s.book, *s.sheet, *s.sheet->usedRange()), argv[2]);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
