// The sample roster at each interval, built by the report driver, saved, and read back by xlrd:
// every cell's displayed text and fill, the merged areas, the column widths, the row heights and
// the frame, against the schedule worked out here straight from the roster.
#include "tests/report/ReportFixture.h"

#include "report/ReportDriver.h"

#include "sheet/xls/Units.h"

#include "store/Employees.h"
#include "store/SampleData.h"
#include "store/TimeText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <QTime>

#include <algorithm>
#include <ostream>
#include <map>
#include <set>

using report_testing::ReportTest;

namespace app {
// Test names and failure messages show the interval in minutes.
void PrintTo(Interval interval, std::ostream* out) { *out << static_cast<int>(interval) << " minutes"; }
}  // namespace app

namespace {

struct Expected {
    QString text;
    int fill = 0;  // 0: no fill
};

// The schedule as a reader of the rules would draw it, from the roster alone.
struct ExpectedSheet {
    std::map<std::pair<int, int>, Expected> cells;  // (row, column)
    std::set<std::vector<int>> merges;              // top, left, bottom, right
    std::map<int, double> widths;
    std::map<int, double> heights;
    std::vector<std::pair<int, int>> gridCells;     // cells inside a weekday's frame
    std::vector<int> headerRows;
};

struct RosterShift {
    int employee;  // index into the sample employees
    store::Weekday day;
    QTime in;
    QTime out;
};

QString timeShown(QTime t) { return t.toString(QStringLiteral("h:mm:ss AP")); }

ExpectedSheet expectedSchedule(const std::vector<store::SampleEmployee>& employees,
                               const std::vector<RosterShift>& shifts, int stepMinutes, const QString& week,
                               const QString& department)
{
    ExpectedSheet e;
    auto put = [&](int row, int column, const QString& text, int fill = 0) {
        Expected& cell = e.cells[{row, column}];
        if (!text.isNull())
            cell.text = text;
        if (fill)
            cell.fill = fill;
    };
    put(1, 2, "Shift Schedule");
    put(1, 11, "For the Week of:");
    put(2, 11, "Department Name:");
    put(1, 12, week);
    put(2, 12, department);
    e.merges = {{1, 2, 2, 6}, {1, 12, 1, 13}, {2, 12, 2, 13}};
    e.widths = {{1, 1.0}, {2, 14.0}};
    e.heights = {{1, 29.25}, {2, 13.5}, {3, 12.0}, {4, 5.0}};

    // Name order.
    std::vector<int> order(employees.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return employees[a].name.compare(employees[b].name, Qt::CaseInsensitive) < 0;
    });
    const int n = static_cast<int>(employees.size());
    int widest = 0;
    for (int d = 0; d < 7; ++d) {
        const auto day = store::allWeekdays[d];
        const int h = 5 + d * (n + 2);
        e.headerRows.push_back(h);
        put(h - 1, 2, store::weekdayCaption(day));
        e.merges.insert({h - 1, 2, h, 2});
        QTime first(7, 0), last(15, 0);
        bool any = false;
        for (const auto& s : shifts)
            if (s.day == day) {
                first = any ? std::min(first, s.in) : s.in;
                last = any ? std::max(last, s.out) : s.out;
                any = true;
            }
        std::vector<QTime> times;
        for (int minutes = first.msecsSinceStartOfDay() / 60000; minutes <= last.msecsSinceStartOfDay() / 60000 + 1;
             minutes += stepMinutes)
            times.push_back(QTime(0, 0).addSecs(minutes * 60));
        const int sick = 3 + static_cast<int>(times.size());
        const int total = sick + 1;
        for (std::size_t i = 0; i < times.size(); ++i) {
            put(h, 3 + static_cast<int>(i), timeShown(times[i]));
            e.widths[3 + static_cast<int>(i)] = 10.5;
        }
        put(h, sick, "Sick?");
        put(h, total, "TOTAL");
        if (sick > widest) {
            widest = sick;
            e.widths[sick] = 7.43;
            e.widths[total] = 6.14;
            e.widths[total + 1] = 0.75;
        }
        for (int row = h; row <= h + n; ++row) {
            e.heights[row] = 13;
            for (int c = 3; c <= total; ++c)
                e.gridCells.push_back({row, c});
        }
        for (int k = 0; k < n; ++k) {
            const int row = h + 1 + k;
            const int who = order[k];
            put(row, 2, employees[who].name);
            put(row, total, QString(), 15);
            int count = 0;
            for (const auto& s : shifts) {
                if (s.day != day || s.employee != who)
                    continue;
                ++count;
                for (std::size_t i = 0; i < times.size(); ++i) {
                    const bool onShift = times[i] >= s.in && times[i] <= s.out.addSecs(60);
                    const int offset = (times[i].msecsSinceStartOfDay() - s.in.msecsSinceStartOfDay()) / 60000;
                    if (onShift && offset % stepMinutes == 0)
                        put(row, 3 + static_cast<int>(i), employees[who].position, 34 + k % 23);
                }
            }
            put(row, total, QString::number(count), 15);
            if (count == 0) {
                put(row, sick, "Sick");
                for (int c = 3; c <= sick; ++c)
                    put(row, c, QString(), 15);
            }
        }
        e.heights[h + n + 1] = 12;
        e.heights[h + n + 2] = 5;
    }
    return e;
}

class SampleRosterTest : public ReportTest, public ::testing::WithParamInterface<report::Interval> {};

TEST_P(SampleRosterTest, TheSavedWorkbookHoldsTheScheduleCellByCell)
{
    const int step = static_cast<int>(GetParam());
    const auto& employees = store::sampleEmployees();
    std::vector<qint64> ids;
    for (const auto& employee : employees)
        ids.push_back(addEmployee(employee.name, employee.position));
    std::vector<RosterShift> roster;
    for (const auto& shift : store::sampleShifts(step)) {
        addShift(shift.weekday, ids[shift.employee], shift.timeIn, shift.timeOut);
        roster.push_back({shift.employee, shift.weekday, *store::parseListTime(shift.timeIn),
                          *store::parseListTime(shift.timeOut)});
    }
    report_testing::RecordingHost host;
    host.chosen = GetParam();
    const QString path = report::EmployeeShiftSchedule::GenerateReport0(host);
    ASSERT_TRUE(errorReports().empty()) << errorReports()[0].text.toStdString();

    QString error;
    const QJsonObject book = report_testing::readWithXlrd(path, &error);
    ASSERT_FALSE(book.isEmpty()) << error.toStdString();
    EXPECT_EQ(book["sheets"].toArray(), QJsonArray{"Shift Schedule"});

    const ExpectedSheet expected = expectedSchedule(employees, roster, step, host.week, host.department);
    std::map<std::pair<int, int>, QJsonObject> read;
    for (const auto& value : book["cells"].toArray()) {
        const QJsonObject cell = value.toObject();
        read[{cell["row"].toInt(), cell["column"].toInt()}] = cell;
    }
    // Every cell that shows something or is filled, both ways round.
    for (const auto& [where, cell] : read) {
        const bool shows = !cell["text"].toString().isEmpty() || !cell["fill"].isNull();
        if (shows)
            EXPECT_TRUE(expected.cells.count(where)) << "unexpected cell at row " << where.first << ", column "
                                                     << where.second << ": " << cell["text"].toString().toStdString();
    }
    for (const auto& [where, want] : expected.cells) {
        const std::string at = "row " + std::to_string(where.first) + ", column " + std::to_string(where.second);
        ASSERT_TRUE(read.count(where)) << at;
        const QJsonObject cell = read.at(where);
        EXPECT_EQ(cell["text"].toString(), want.text) << at;
        EXPECT_EQ(cell["fill"].isNull() ? 0 : cell["fill"].toInt(), want.fill) << at;
    }
    // Kinds: times in the headers, numbers in the totals, texts elsewhere.
    for (int h : expected.headerRows) {
        EXPECT_EQ(read.at({h, 3})["kind"].toString(), "time");
        EXPECT_EQ(read.at({h + 1, 2})["kind"].toString(), "text");
    }
    // Fonts: the title, a weekday title, a header, the sheet default.
    EXPECT_EQ(read.at({1, 2})["font"].toObject()["size"].toDouble(), 24);
    EXPECT_TRUE(read.at({1, 2})["font"].toObject()["bold"].toBool());
    EXPECT_TRUE(read.at({4, 2})["font"].toObject()["bold"].toBool());
    EXPECT_EQ(read.at({4, 2})["font"].toObject()["colour"].toInt(), 16);
    EXPECT_EQ(read.at({5, 3})["font"].toObject()["size"].toDouble(), 9);
    EXPECT_EQ(read.at({6, 2})["font"].toObject()["name"].toString(), "Century Gothic");
    EXPECT_EQ(read.at({6, 2})["font"].toObject()["size"].toDouble(), 8);

    std::set<std::vector<int>> merges;
    for (const auto& value : book["merged"].toArray()) {
        const QJsonArray m = value.toArray();
        merges.insert({m[0].toInt(), m[1].toInt(), m[2].toInt(), m[3].toInt()});
    }
    EXPECT_EQ(merges, expected.merges);

    const QJsonObject widths = book["widths"].toObject();
    for (const auto& [column, width] : expected.widths) {
        ASSERT_TRUE(widths.contains(QString::number(column))) << "column " << column;
        EXPECT_DOUBLE_EQ(widths[QString::number(column)].toDouble(), sheet::xls::columnWidthToColdx(width) / 256.0)
            << "column " << column;
    }
    const QJsonObject heights = book["heights"].toObject();
    for (const auto& [row, height] : expected.heights)
        EXPECT_DOUBLE_EQ(heights[QString::number(row)].toDouble(), height) << "row " << row;

    // The frame: thin lines of colour 48 left, right and below every cell of each weekday's grid,
    // below the name header and right of and below every name.
    for (const auto& where : expected.gridCells) {
        const QJsonObject borders = read.at(where)["borders"].toObject();
        for (const char* side : {"left", "right", "bottom"}) {
            const QJsonArray line = borders[side].toArray();
            EXPECT_EQ(line[0].toInt(), 1) << side << " of row " << where.first << ", column " << where.second;
            EXPECT_EQ(line[1].toInt(), 48) << side << " of row " << where.first << ", column " << where.second;
        }
    }
    for (int h : expected.headerRows) {
        EXPECT_EQ(read.at({h, 2})["borders"].toObject()["bottom"].toArray()[0].toInt(), 1);
        for (int row = h + 1; row <= h + 3; ++row) {
            EXPECT_EQ(read.at({row, 2})["borders"].toObject()["right"].toArray()[0].toInt(), 1);
            EXPECT_EQ(read.at({row, 2})["borders"].toObject()["bottom"].toArray()[0].toInt(), 1);
        }
    }
    EXPECT_EQ(read.at({1, 12})["borders"].toObject()["bottom"].toArray()[1].toInt(), 48);
}

INSTANTIATE_TEST_SUITE_P(AllIntervals, SampleRosterTest,
                         ::testing::Values(report::Interval::Hourly, report::Interval::HalfHour,
                                           report::Interval::FifteenMinutes),
                         [](const auto& info) {
                             switch (info.param) {
                             case report::Interval::Hourly: return std::string("Hourly");
                             case report::Interval::HalfHour: return std::string("HalfHour");
                             default: return std::string("FifteenMinutes");
                             }
                         });

// LibreOffice, another reader, opens the saved workbook and shows every cell as the engine does.
TEST_F(SampleRosterTest, LibreOfficeShowsTheSavedScheduleAsTheEngineDoes)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    std::vector<qint64> ids;
    for (const auto& employee : store::sampleEmployees())
        ids.push_back(addEmployee(employee.name, employee.position));
    for (const auto& shift : store::sampleShifts(30))
        addShift(shift.weekday, ids[shift.employee], shift.timeIn, shift.timeOut);
    report_testing::RecordingHost host;
    host.chosen = report::Interval::HalfHour;
    const QString path = report::EmployeeShiftSchedule::GenerateReport0(host);
    ASSERT_TRUE(errorReports().empty());

    const QString out = QDir::tempPath() + "/lo";
    QProcess office;
    office.start(soffice, {"-env:UserInstallation=file://" + QDir::tempPath() + "/lo-profile", "--headless",
                           "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true", "--outdir",
                           out, path});
    ASSERT_TRUE(office.waitForFinished(180000));
    QFile csv(out + "/" + QFileInfo(path).completeBaseName() + ".csv");
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << office.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n');

    sheet::Application reader;
    const sheet::Worksheet sheet = reader.Workbooks().Open(path.toStdString()).ActiveSheet();
    const int lastRow = sheet.UsedRange().Row() + sheet.UsedRange().Rows().count() - 1;
    const int lastColumn = sheet.UsedRange().Column() + sheet.UsedRange().Columns().count() - 1;
    int compared = 0;
    for (int row = 1; row <= lastRow; ++row) {
        ASSERT_LT(row - 1, lines.size());
        // The sheet's texts hold no commas or quotes, so a plain split reads the line.
        const QStringList shown = lines[row - 1].trimmed().split(',');
        for (int column = 1; column <= lastColumn; ++column) {
            const QString engine = QString::fromStdString(sheet.Cells(row, column).Text());
            const QString office = column - 1 < shown.size() ? shown[column - 1] : QString();
            EXPECT_EQ(office, engine) << "row " << row << ", column " << column;
            compared += engine.isEmpty() ? 0 : 1;
        }
    }
    EXPECT_GT(compared, 100);
}

}  // namespace
