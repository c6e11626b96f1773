// The sample data through its button: the stored shifts for each interval, a re-run after the
// interval changed, namesakes, and the selections it leaves remembered.
#include "tests/ui/UiFixture.h"

#include "app/Settings.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/SampleData.h"

#include <QFile>
#include <QRadioButton>

#include <QTreeWidget>

#include <functional>
#include <map>

namespace {

const char* const kDace = "Dace Ormundy";
const char* const kAnsel = "Ansel Brackwater";
constexpr int kSteps[] = {60, 30, 15};  // the options from Hourly to 15 minutes

// The sample's shifts at one interval (0 hourly, 1 half-hour, 2 quarter-hour) per weekday, as
// the fixture's shifts() writes them; only those the filter keeps. The table itself is the
// store's, whose tests hold it against the design.
std::map<int, QStringList> expectedShifts(int interval, const std::function<bool(const store::SampleShift&)>& keep = {})
{
    std::map<int, QStringList> out;
    for (const store::SampleShift& shift : store::sampleShifts(kSteps[interval]))
        if (!keep || keep(shift))
            out[store::weekdayIndex(shift.weekday)] << store::sampleEmployees()[shift.employee].name + " " + shift.timeIn
                    + "-" + shift.timeOut;
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

TEST_F(SampleDataTest, ARunAfterAnIntervalChangeAddsOnlyWhatDoesNotCollide)
{
    start();
    click("PushButton7");
    chooseInterval(1);
    click("PushButton7");
    // Of the half-hour shifts only the late ones of the second and third employee on the weekend
    // stay clear of the hourly ones already stored.
    auto expected = expectedShifts(0);
    for (const auto& [day, added] : expectedShifts(1, [](const store::SampleShift& shift) {
             return shift.employee >= 1 && shift.weekday >= store::Weekday::Saturday;
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

TEST_F(SampleDataTest, ALoadWithAFailedStepStoresNothingOfTheSample)
{
    start();
    // Every Sunday insert fails, late in the load, after most of the sample went in.
    store::shared().execute("drop view qrySunday");
    store::shared().execute("drop table tblShiftSunday");
    click("PushButton7");
    EXPECT_FALSE(dialogs.errorReports().empty());
    EXPECT_TRUE(store::listEmployees(store::shared()).empty());
    EXPECT_EQ(list("cboName")->count(), 0) << "the list shows the roster as it is";
    for (const store::Weekday day : store::allWeekdays)
        if (day != store::Weekday::Sunday)
            EXPECT_TRUE(shifts(day).isEmpty()) << store::weekdayCaption(day).toStdString();
}
