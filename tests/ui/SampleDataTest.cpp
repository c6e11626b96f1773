// The sample data through its button: the stored shifts for each interval, re-runs, and the
// selections it leaves remembered.
#include "tests/ui/UiFixture.h"

#include "app/Settings.h"

#include "store/Connection.h"
#include "store/Employees.h"

#include <QFile>
#include <QRadioButton>

#include <functional>
#include <QTreeWidget>

#include <map>

namespace {

// The sample's resulting shifts per interval, as the design table gives them: employee, the
// weekdays (0 = Monday), then the hourly, half-hour and quarter-hour times.
struct ExpectedRow {
    const char* employee;
    std::vector<int> days;
    const char* times[3][2];
};

const char* const kDace = "Dace Ormundy";
const char* const kFallow = "R. T. Fallowmere";
const char* const kAnsel = "Ansel Brackwater";

const std::vector<ExpectedRow>& expectedRows()
{
    static const std::vector<ExpectedRow> rows = {
        {kDace, {0, 1, 2}, {{"10:00:00 AM", "04:00:00 PM"}, {"09:00:00 AM", "12:00:00 PM"}, {"08:30:00 AM", "10:00:00 AM"}}},
        {kDace, {3, 4}, {{"12:00:00 PM", "04:00:00 PM"}, {"10:00:00 AM", "12:00:00 PM"}, {"09:00:00 AM", "10:00:00 AM"}}},
        {kFallow, {0, 1}, {{"12:00:00 PM", "05:00:00 PM"}, {"10:00:00 AM", "12:30:00 PM"}, {"09:00:00 AM", "10:15:00 AM"}}},
        {kFallow, {2, 3, 4}, {{"10:00:00 AM", "01:00:00 PM"}, {"09:00:00 AM", "10:30:00 AM"}, {"08:30:00 AM", "09:15:00 AM"}}},
        {kFallow, {5}, {{"02:00:00 PM", "04:00:00 PM"}, {"11:00:00 AM", "12:00:00 PM"}, {"09:30:00 AM", "10:00:00 AM"}}},
        {kAnsel, {0, 1, 2, 3}, {{"09:00:00 AM", "04:00:00 PM"}, {"08:30:00 AM", "12:00:00 PM"}, {"08:15:00 AM", "10:00:00 AM"}}},
        {kAnsel, {4}, {{"10:00:00 AM", "03:00:00 PM"}, {"09:00:00 AM", "11:30:00 AM"}, {"08:30:00 AM", "09:45:00 AM"}}},
        {kAnsel, {5, 6}, {{"04:00:00 PM", "06:00:00 PM"}, {"12:00:00 PM", "01:00:00 PM"}, {"10:00:00 AM", "10:30:00 AM"}}},
    };
    return rows;
}

// The shifts of one interval (0 hourly, 1 half-hour, 2 quarter-hour) per weekday, as the
// fixture's shifts() writes them; only rows the filter keeps.
std::map<int, QStringList> expectedShifts(int interval, const std::function<bool(const ExpectedRow&, int)>& keep = {})
{
    std::map<int, QStringList> out;
    for (const ExpectedRow& row : expectedRows())
        for (const int day : row.days)
            if (!keep || keep(row, day))
                out[day] << QString::fromUtf8(row.employee) + " " + row.times[interval][0] + "-" + row.times[interval][1];
    return out;
}

}  // namespace

class SampleDataTest : public UiTest {
protected:
    void chooseInterval(int interval)
    {
        const char* option[] = {"Option3", "Option4", "Option5"};
        child<QRadioButton>(option[interval])->click();
    }
    std::map<int, QStringList> stored() const
    {
        std::map<int, QStringList> out;
        for (const store::Weekday day : store::allWeekdays) {
            QStringList day_shifts = shifts(day);
            if (!day_shifts.isEmpty())
                out[store::weekdayIndex(day)] = day_shifts;
        }
        return out;
    }
    static std::map<int, QStringList> sorted(std::map<int, QStringList> shifts)
    {
        for (auto& [day, list] : shifts)
            list.sort();
        return shifts;
    }
};

TEST_F(SampleDataTest, EachIntervalStoresTheSampleTable)
{
    for (int interval = 0; interval < 3; ++interval) {
        SCOPED_TRACE(interval);
        start();
        chooseInterval(interval);
        click("PushButton7");
        EXPECT_TRUE(dialogs.messages.empty()) << qPrintable(dialogs.texts().join("\n"));
        EXPECT_EQ(sorted(stored()), sorted(expectedShifts(interval)));
        EXPECT_EQ(store::listEmployees(store::shared()).size(), 3u);

        // Left with the third sample employee and that employee's last times, remembered too.
        EXPECT_EQ(list("cboName")->currentText(), kAnsel);
        EXPECT_EQ(app::Settings::stored(app::Settings::kEmployeeIndex).value_or(""),
                  QString::number(list("cboName")->currentIndex()));
        const int n = list("cboTimeIn")->count();
        EXPECT_EQ(list("cboTimeIn")->currentIndex(), n / 3 + 8);
        EXPECT_EQ(list("cboTimeOut")->currentIndex(), n / 3 + 10);
        EXPECT_EQ(app::Settings::stored(app::Settings::kTimeInIndex).value_or(""), QString::number(n / 3 + 8));

        // The shift list on screen is not reloaded by the sample.
        EXPECT_EQ(child<QTreeWidget>("ListView1")->topLevelItemCount(), 0);
        quit();
        QFile::remove(env.dataHome() + "/Tarrowby/Rostelle Software/dbData.sqlite");
    }
}

TEST_F(SampleDataTest, ASecondRunAddsNothing)
{
    start();
    click("PushButton7");
    const auto first = stored();
    click("PushButton7");
    EXPECT_EQ(stored(), first);
    EXPECT_EQ(store::listEmployees(store::shared()).size(), 3u);
}

TEST_F(SampleDataTest, ARunAfterAnIntervalChangeAddsOnlyWhatDoesNotCollide)
{
    start();
    click("PushButton7");
    chooseInterval(1);
    click("PushButton7");
    auto expected = expectedShifts(0);
    for (const auto& [day, added] : expectedShifts(1, [](const ExpectedRow& row, int day) {
             return (row.employee == kFallow && day == 5) || (row.employee == kAnsel && day >= 5);
         }))
        expected[day] += added;
    EXPECT_EQ(sorted(stored()), sorted(expected));
    quit();

    QFile::remove(env.dataHome() + "/Tarrowby/Rostelle Software/dbData.sqlite");
    start();
    chooseInterval(0);
    click("PushButton7");
    chooseInterval(2);
    click("PushButton7");
    expected = expectedShifts(0);
    for (const auto& [day, added] : expectedShifts(2, [](const ExpectedRow& row, int day) {
             if (row.employee == kDace)
                 return day == 3 || day == 4;
             if (row.employee == kFallow)
                 return true;
             return day >= 4;
         }))
        expected[day] += added;
    EXPECT_EQ(sorted(stored()), sorted(expected));
}

TEST_F(SampleDataTest, ANamesakeWithAnotherPositionGetsAnEmployeeOfItsOwn)
{
    start();
    addEmployee(kDace, "Intern");
    click("PushButton7");
    const auto employees = store::listEmployees(store::shared());
    EXPECT_EQ(employees.size(), 4u);
    EXPECT_TRUE(store::findEmployee(store::shared(), kDace, "Sr. Developer").has_value());
    // The shifts went to whichever namesake comes first in the list.
    const qint64 first = form->employeeIds(list("cboName")->findText(kDace) + 1);
    const qint64 second = form->employeeIds(list("cboName")->findText(kDace) + 2);
    EXPECT_TRUE(store::shiftOverlaps(store::shared(), store::Weekday::Monday, first, "10:00:00 AM", "04:00:00 PM"));
    EXPECT_FALSE(store::shiftOverlaps(store::shared(), store::Weekday::Monday, second, "12:00:00 AM", "11:00:00 PM"));
    EXPECT_TRUE(dialogs.errorReports().empty());
}
