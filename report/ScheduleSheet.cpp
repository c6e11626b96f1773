// The schedule sheet, statement by statement under one trap: a failing statement is reported and
// the build goes on with the next one.
#include "report/ScheduleSheet.h"

#include "report/Automation.h"
#include "report/ColumnLetters.h"
#include "report/PageSetup.h"
#include "report/Primitives.h"
#include "report/RosterLimit.h"

#include "app/Trap.h"

#include "sheet/model/Constants.h"

#include "store/Connection.h"
#include "store/ReportQueries.h"
#include "store/TimeText.h"
#include "store/Weekday.h"

#include <QHash>
#include <QTime>

#include <array>
#include <string>
#include <unordered_map>
#include <cstdint>
#include <vector>

namespace report::EmployeeShiftSchedule {
namespace {

using Excel1::ColumnNumberToLetter;

constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr int kOneMinute = 60;

// Palette colours of the sheet.
constexpr int kLineGrey = 48;      // the frame's lines and the header texts' underlines
constexpr int kCaptionGrey = 16;   // weekday titles and column captions
constexpr int kShadeGrey = 15;     // the total column and a day without a shift
constexpr const char* kBold = "bold";
constexpr const char* kRegular = "General";

// Times of day as seconds after midnight. Stepping past midnight runs on into the next day, and
// the text shows the time of day, as a date-time value does.
int secondsOf(const QTime& time) { return time.msecsSinceStartOfDay() / 1000; }

// A shift's time in or out; one the store could not read (none, or a text that is no time) fails.
int shiftTime(const QTime& time, const char* inOrOut, const QString& employee, store::Weekday day)
{
    if (!time.isValid())
        throw app::Failure(QStringLiteral("A shift of %1 on %2 has no time %3 that can be read.")
                               .arg(employee, store::weekdayCaption(day), QString::fromLatin1(inOrOut)));
    return secondsOf(time);
}

QString slotText(int seconds)
{
    return store::displayTimeText(QTime(0, 0).addSecs(seconds % kSecondsPerDay));
}

int stepSeconds(Interval interval)
{
    switch (interval) {
    case Interval::Hourly: return 60 * 60;
    case Interval::HalfHour: return 30 * 60;
    case Interval::FifteenMinutes: return 15 * 60;
    }
    return 60 * 60;  // the window always has one option selected; the hourly grid stands in otherwise
}

// One cell as a block, for the primitives that take rows and columns.
sheet::CellRect oneCell(int column, int row) { return sheet::CellRect{row, column, row, column}; }

// Range addresses for the primitives, with each column's letters worked out once per run. A
// column without letters asks (and is told) again each time.
class Addresses {
public:
    // "C5:C5": a one-cell range in the two-corner form the primitives take.
    QString cell(int column, long long row)
    {
        const QString one = letters(column) + QString::number(row);
        return one + QLatin1Char(':') + one;
    }
    QString block(int left, long long top, int right, long long bottom)
    {
        return letters(left) + QString::number(top) + QLatin1Char(':') + letters(right) + QString::number(bottom);
    }
    QString column(int number)
    {
        const QString name = letters(number);
        return name + QLatin1Char(':') + name;
    }
    static QString rows(long long first, long long last)
    {
        return QString::number(first) + QLatin1Char(':') + QString::number(last);
    }

private:
    QString letters(int column)
    {
        if (column < 1 || column > sheet::kMaxColumns)
            return ColumnNumberToLetter(column);
        QString& known = known_[static_cast<std::size_t>(column)];
        if (known.isEmpty())
            known = ColumnNumberToLetter(column);
        return known;
    }

    std::array<QString, sheet::kMaxColumns + 1> known_;
};

}  // namespace

int EmployeeColorIndex(int employeeIndex) { return 34 + employeeIndex % 23; }

void GenerateReport(const ScheduleInputs& inputs, const BuildProgressSink& progress)
{
    app::Trap trap(QStringLiteral("EmployeeShiftSchedule"), QStringLiteral("GenerateReport"));
    store::ReportReading db(store::shared());
    Addresses at;

    std::int32_t r = 0;   // current sheet row
    std::int32_t h = 0;   // header row of the weekday
    std::int32_t j = 0;   // column counter
    std::int32_t w = 0;   // widest extent so far
    std::int32_t S = 0;   // "Sick?" column
    std::int32_t T = 0;   // "TOTAL" column
    std::int16_t k = 0;   // employee index
    std::int32_t n = 0;   // shift count
    int t = 0;            // slot time
    int dayStartTime = 0;
    int dayEndTime = 0;
    const int step = stepSeconds(inputs.interval());

    // A roster the sheet cannot hold would fail on every row past the last one: refuse it whole.
    if (rosterRefused(trap, 100, db))
        return;

    // Title area.
    trap(102, [] { xlApp().Cells().Select(); });
    trap(104, [] { xlApp().Selection().Clear(); });
    trap(106, [] { xlApp().Selection().Font().setName(kSheetFont); });
    trap(108, [] { xlApp().Selection().Font().setSize(8); });
    trap(110, [] { SetColumnWidth(QStringLiteral("A:A"), 1); });
    trap(112, [] { SetColumnWidth(QStringLiteral("B:B"), 14); });
    trap(114, [] { SetRowHeight(QStringLiteral("1:1"), 29.25); });
    trap(116, [] { SetRowHeight(QStringLiteral("2:2"), 13.5); });
    trap(118, [] { SetRowHeight(QStringLiteral("3:3"), 12); });
    trap(120, [] { SetRowHeight(QStringLiteral("4:4"), 5); });
    trap(122, [] { PutText(QStringLiteral("B1:F2"), QStringLiteral("Shift Schedule"), kMerge); });
    trap(124, [] { SetFont(kBold, 24, sheet::xlColorIndexAutomatic); });
    trap(126, [] { PutText(QStringLiteral("K1:K1"), QStringLiteral("For the Week of:"), kMerge); });
    trap(128, [] { SetFontAlignment(sheet::xlRightLegacy); });
    trap(130, [] { PutText(QStringLiteral("K2:K2"), QStringLiteral("Department Name:"), kMerge); });
    trap(132, [] { SetFontAlignment(sheet::xlRightLegacy); });
    trap(134, [&] { PutUserText(QStringLiteral("L1:M1"), inputs.weekText(), kMerge); });
    trap(136, [] { SetAlignment(Align::CentreHorizontally | Align::Wrap); });
    trap(138, [] { DrawBorder0(QStringLiteral("L1:L1"), Edge::Bottom, kLineGrey); });
    trap(140, [&] { PutUserText(QStringLiteral("L2:M2"), inputs.departmentText(), kMerge); });
    trap(142, [] { SetAlignment(Align::CentreHorizontally | Align::Wrap); });
    trap(144, [] { DrawBorder0(QStringLiteral("L2:L2"), Edge::Bottom, kLineGrey); });
    trap(146, [&] { r = 5; });
    trap(148, [&] { w = 0; });

    for (const store::Weekday day : store::allWeekdays) {
        // Weekday title and day span.
        trap(150, [&] { PutText(at.block(2, r - 1, 2, r), store::weekdayCaption(day), kMerge); });
        trap(152, [] { SetFont(kBold, 12, kCaptionGrey); });
        std::optional<QTime> firstIn;
        std::optional<QTime> lastOut;
        trap(154, [&] { firstIn = store::dayStart(db, day); });
        trap(156, [&] { lastOut = store::dayEnd(db, day); });
        // A weekday without shifts spans 7:00 AM to 3:00 PM.
        trap(158, [&] { dayStartTime = firstIn && firstIn->isValid() ? secondsOf(*firstIn) : 7 * 60 * 60; });
        trap(160, [&] { dayEndTime = lastOut && lastOut->isValid() ? secondsOf(*lastOut) : 15 * 60 * 60; });
        trap(162, [&] { h = r; });
        trap(164, [&] { t = dayStartTime; });
        trap(166, [&] { j = 3; });

        // Time header columns, up to the last slot not later than one minute after the day end.
        // A failing loop test ends the loop.
        while (trap.value(168, false, [&] { return t <= dayEndTime + kOneMinute; })) {
            trap(170, [&] { SetColumnWidth(at.column(j), 10.5); });
            trap(172, [&] { PutText(at.cell(j, h), slotText(t), kMerge); });
            trap(174, [] { SetFont(kRegular, 9, kCaptionGrey); });
            trap(176, [&] { t += step; });
            trap(178, [&] { ++j; });
        }

        // "Sick?" and "TOTAL"; their widths only when this weekday reaches further right than
        // every earlier one.
        if (trap.test(180, [&] { return j > w; })) {
            trap(182, [&] { w = j; });
            trap(184, [&] { S = j; });
            trap(186, [&] { PutText(at.cell(S, h), QStringLiteral("Sick?"), kMerge); });
            trap(188, [] { SetFont(kRegular, 9, kCaptionGrey); });
            trap(190, [&] { SetColumnWidth(at.column(S), 7.43); });
            trap(192, [&] { ++j; });
            trap(194, [&] { T = j; });
            trap(196, [&] { PutText(at.cell(T, h), QStringLiteral("TOTAL"), kMerge); });
            trap(198, [] { SetFont(kRegular, 9, kCaptionGrey); });
            trap(200, [&] { SetColumnWidth(at.column(T), 6.14); });
            trap(202, [&] { ++j; });
            trap(204, [&] { SetColumnWidth(at.column(j), 0.75); });
        } else {
            trap(206, [&] { S = j; });
            trap(208, [&] { PutText(at.cell(S, h), QStringLiteral("Sick?"), kMerge); });
            trap(210, [] { SetFont(kRegular, 9, kCaptionGrey); });
            trap(212, [&] { ++j; });
            trap(214, [&] { T = j; });
            trap(216, [&] { PutText(at.cell(T, h), QStringLiteral("TOTAL"), kMerge); });
            trap(218, [] { SetFont(kRegular, 9, kCaptionGrey); });
        }

        // Employee block frame.
        std::vector<store::ReportEmployee> employees;
        trap(220, [&] { employees = store::reportEmployees(db); });
        const auto N = static_cast<std::int32_t>(employees.size());
        BuildProgress reached{BuildProgress::Stage::Drawing, day, 0, N};
        if (progress)
            progress(reached);
        if (trap.test(222, [&] { return N >= 1; })) {
            trap(224, [&] { DrawBorder0(at.cell(2, h), Edge::InsideHorizontal | Edge::Bottom, kLineGrey); });
            trap(226, [&] {
                DrawBorder0(at.block(2, h + 1, 2, h + N), Edge::InsideHorizontal | Edge::Right | Edge::Bottom,
                            kLineGrey);
            });
            // Every edge of the grid but its top.
            trap(228, [&] {
                DrawBorder0(at.block(3, h, T, h + N),
                            Edge::InsideHorizontal | Edge::Left | Edge::Right | Edge::Bottom | Edge::InsideVertical,
                            kLineGrey);
            });
            trap(230, [&] { SetRowHeight(Addresses::rows(h, h + N), 13); });
            trap(232, [&] { FillCells(at.block(T, h + 1, T, h + N), kShadeGrey); });
        }
        trap(234, [&] { r = h + 1; });
        trap(236, [&] { k = 0; });

        // The header texts as the sheet shows them, read once per weekday when a shift first
        // needs them: for each text, the time columns (3 .. S - 1) showing it, left to right.
        QHash<QString, std::vector<int>> headerColumns;
        bool headerTextsRead = false;
        auto readHeaderTexts = [&] {
            for (int c = 3; c <= S - 1; ++c)
                trap(238, [&] {
                    headerColumns[QString::fromStdString(xlApp().ActiveSheet().Cells(h, c).Text()).trimmed()].push_back(c);
                });
            headerTextsRead = true;
        };
        // The header columns whose displayed text equals a slot's time text, looked up once per
        // time of day: every employee's shifts meet the same few slots again.
        std::unordered_map<int, const std::vector<int>*> columnsAtTime;
        auto columnsShowing = [&](int seconds) -> const std::vector<int>& {
            static const std::vector<int> none;
            const auto [known, added] = columnsAtTime.try_emplace(seconds % kSecondsPerDay, &none);
            if (added) {
                const auto matching = headerColumns.constFind(slotText(seconds).trimmed());
                if (matching != headerColumns.constEnd())
                    known->second = &*matching;
            }
            return *known->second;
        };

        // Employee rows.
        for (const store::ReportEmployee& employee : employees) {
            trap(240, [&] { PutUserText(oneCell(2, r), sheet::CellText(employee.name.toStdString()), kMerge); });
            std::vector<store::ReportShift> shifts;
            trap(242, [&] { shifts = store::reportEmployeeShifts(db, day, employee.id); });
            trap(244, [&] { n = 0; });
            for (const store::ReportShift& shift : shifts) {
                const sheet::CellText position(shift.position.toStdString());
                // A shift whose time in cannot be read marks nothing but still counts.
                if (trap(246, [&] { t = shiftTime(shift.timeIn, "in", employee.name, day); })) {
                    while (trap.value(248, false, [&] {
                        return t <= shiftTime(shift.timeOut, "out", employee.name, day) + kOneMinute;
                    })) {
                        if (!headerTextsRead)
                            readHeaderTexts();
                        for (const int c : columnsShowing(t)) {
                            trap(250, [&] { PutUserText(oneCell(c, r), position, kMerge); });
                            trap(252, [&] { FillCells(oneCell(c, r), EmployeeColorIndex(k)); });
                        }
                        trap(254, [&] { t += step; });
                    }
                }
                trap(256, [&] { ++n; });
            }
            if (trap.test(258, [&] { return n == 0; })) {
                trap(260, [&] { PutText(at.cell(S, r), QStringLiteral("Sick"), kMerge); });
                trap(262, [&] { FillCells(at.block(3, r, S, r), kShadeGrey); });
            }
            trap(264, [&] { PutText(at.cell(T, r), QString::number(n), kMerge); });
            trap(266, [&] { ++k; });
            trap(268, [&] { ++r; });
            ++reached.employeesDone;
            if (progress)
                progress(reached);
        }

        // Closing rows: the next weekday's title spans them.
        trap(270, [&] { SetRowHeight(Addresses::rows(r, r), 12); });
        trap(272, [&] { ++r; });
        trap(274, [&] { SetRowHeight(Addresses::rows(r, r), 5); });
    }

    trap(276, [] { PrinterSetup0(); });
}

}  // namespace report::EmployeeShiftSchedule
