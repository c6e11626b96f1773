// What the schedule sheet reads: weekday spans, the employees, and each one's shifts.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/ReportQueries.h"
#include "store/Shifts.h"
#include "store/StoreError.h"
#include "store/TimeText.h"

#include <algorithm>
#include <functional>
#include <vector>

using namespace store;

namespace {

class ReportQueryTest : public store_testing::StoreTest {};
ON_BOTH_STORES(ReportQueryTest);

}  // namespace

TEST_P(ReportQueryTest, WeekdaySpanRunsFromEarliestInToLatestOut)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    const qint64 bob = insertEmployee(*db, "Bob", "Waiter");
    insertShift(*db, Weekday::Saturday, ann, "10:00:00 AM", "02:00:00 PM");
    insertShift(*db, Weekday::Saturday, bob, "08:15:00 AM", "11:00:00 AM");
    insertShift(*db, Weekday::Saturday, bob, "03:00:00 PM", "09:45:00 PM");
    insertShift(*db, Weekday::Sunday, ann, "06:00:00 AM", "11:00:00 PM");

    EXPECT_EQ(dayStart(*db, Weekday::Saturday), QTime(8, 15));
    EXPECT_EQ(dayEnd(*db, Weekday::Saturday), QTime(21, 45));
    EXPECT_FALSE(dayStart(*db, Weekday::Friday).has_value());
    EXPECT_FALSE(dayEnd(*db, Weekday::Friday).has_value());
}

TEST_P(ReportQueryTest, EmployeeShiftsCarryTheEmployeesPosition)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Chef's Assistant");
    const qint64 bob = insertEmployee(*db, "Bob", "Waiter");
    insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "11:00:00 AM");
    insertShift(*db, Weekday::Monday, ann, "01:00:00 PM", "03:30:00 PM");
    insertShift(*db, Weekday::Monday, bob, "09:00:00 AM", "05:00:00 PM");
    insertShift(*db, Weekday::Tuesday, ann, "07:00:00 AM", "08:00:00 AM");

    auto shifts = reportEmployeeShifts(*db, Weekday::Monday, ann);
    ASSERT_EQ(shifts.size(), 2u);
    std::sort(shifts.begin(), shifts.end(), [](const auto& a, const auto& b) { return a.timeIn < b.timeIn; });
    EXPECT_EQ(shifts[0].timeIn, QTime(9, 0));
    EXPECT_EQ(shifts[0].timeOut, QTime(11, 0));
    EXPECT_EQ(shifts[1].timeIn, QTime(13, 0));
    EXPECT_EQ(shifts[1].timeOut, QTime(15, 30));
    for (const auto& shift : shifts)
        EXPECT_EQ(shift.position, "Chef's Assistant");

    const auto employees = reportEmployees(*db);
    ASSERT_EQ(employees.size(), 2u);
    EXPECT_EQ(employees[0].id, ann);
    EXPECT_EQ(employees[1].id, bob);
    EXPECT_TRUE(reportEmployeeShifts(*db, Weekday::Wednesday, ann).empty());
}

TEST_P(ReportQueryTest, AStoredTimeThatIsNoTimeReadsAsNoneAndKeepsTheOtherShifts)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "11:00:00 AM");
    db->execute(QStringLiteral("insert into tblShiftMonday (fldEmpID, fldTimeIn, fldTimeOut) values (%1, 'soon', '25:00:00')")
                    .arg(ann));

    auto shifts = reportEmployeeShifts(*db, Weekday::Monday, ann);
    ASSERT_EQ(shifts.size(), 2u);
    std::sort(shifts.begin(), shifts.end(), [](const auto& a, const auto& b) { return a.timeIn.isValid() < b.timeIn.isValid(); });
    EXPECT_FALSE(shifts[0].timeIn.isValid());
    EXPECT_FALSE(shifts[0].timeOut.isValid());
    EXPECT_EQ(shifts[0].position, "Cook");
    EXPECT_EQ(shifts[1].timeIn, QTime(9, 0));
}

TEST_P(ReportQueryTest, OneReadingGivesEachEmployeeAndWeekdayItsOwnRows)
{
    // Employee i works on the weekdays d with (i + d) % 3 != 0, from 6 + i AM for two hours.
    std::vector<qint64> ids;
    for (int i = 0; i < 6; ++i) {
        ids.push_back(insertEmployee(*db, QString("E%1").arg(i), QString("Job %1").arg(i)));
        for (Weekday day : allWeekdays)
            if ((i + weekdayIndex(day)) % 3 != 0)
                insertShift(*db, day, ids.back(), listTimeText(QTime(6 + i, 0)), listTimeText(QTime(8 + i, 0)));
    }

    ReportReading reading(*db);
    for (Weekday day : allWeekdays) {
        const auto employees = reportEmployees(reading);
        ASSERT_EQ(employees.size(), ids.size());
        for (std::size_t i = 0; i < ids.size(); ++i) {
            SCOPED_TRACE(testing::Message() << weekdayCaption(day).toStdString() << " E" << i);
            EXPECT_EQ(employees[i].id, ids[i]);
            const auto shifts = reportEmployeeShifts(reading, day, ids[i]);
            if ((static_cast<int>(i) + weekdayIndex(day)) % 3 == 0) {
                EXPECT_TRUE(shifts.empty());
                continue;
            }
            ASSERT_EQ(shifts.size(), 1u);
            EXPECT_EQ(shifts[0].timeIn, QTime(6 + static_cast<int>(i), 0));
            EXPECT_EQ(shifts[0].position, QString("Job %1").arg(i));
        }
    }
    EXPECT_TRUE(reportEmployeeShifts(reading, Weekday::Monday, 999).empty());
}

TEST_P(ReportQueryTest, AReadingSeesOneStateOfTheRosterFromFirstReadToLast)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "10:00:00 AM");

    const auto other = otherConnection("other-planner");
    shortenLockWaits(*other);
    bool written = false;
    {
        ReportReading reading(*db);
        EXPECT_TRUE(db->inTransaction());
        EXPECT_EQ(reportEmployees(reading).size(), 1u);
        // Another planner's change made meanwhile either waits for the reading or stays out of it.
        try {
            const qint64 bob = insertEmployee(*other, "Bob", "Cook");
            insertShift(*other, Weekday::Monday, bob, "06:00:00 AM", "07:00:00 AM");
            written = true;
        } catch (const StoreError&) {
        }
        EXPECT_EQ(reportEmployees(reading).size(), 1u);
        EXPECT_EQ(dayStart(reading, Weekday::Monday), QTime(9, 0));
    }
    EXPECT_FALSE(db->inTransaction());
    ReportReading later(*db);
    EXPECT_EQ(reportEmployees(later).size(), written ? 2u : 1u);
}

TEST_P(ReportQueryTest, AReadingInsideTheCallersTransactionLeavesItOpen)
{
    db->beginReading();
    {
        ReportReading reading(*db);
        EXPECT_TRUE(reportEmployees(reading).empty());
    }
    EXPECT_TRUE(db->inTransaction());
    db->commit();
    EXPECT_FALSE(db->inTransaction());
}

TEST_P(ReportQueryTest, AReadTheLockedDatabaseRefusesIsReportedAsBusyAndTheReadingGoesOn)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "10:00:00 AM");
    shortenLockWaits(*db);
    const auto other = otherConnection("locker");
    if (backend() == store_testing::Backend::SQLite) {
        other->execute("begin exclusive");
    } else {
        other->execute("begin");
        other->execute("lock table tblShiftMonday in access exclusive mode");
    }
    ReportReading reading(*db);
    const std::vector<std::function<void()>> reads{[&] { dayStart(reading, Weekday::Monday); },
                                                   [&] { dayEnd(reading, Weekday::Monday); },
                                                   [&] { reportEmployeeShifts(reading, Weekday::Monday, ann); }};
    for (const auto& read : reads)
        EXPECT_TRUE(store_testing::failureOf(read).contains("is busy"));
    other->execute("rollback");
    EXPECT_EQ(dayStart(reading, Weekday::Monday), QTime(9, 0));
    EXPECT_EQ(dayEnd(reading, Weekday::Monday), QTime(10, 0));
    EXPECT_EQ(reportEmployeeShifts(reading, Weekday::Monday, ann).size(), 1u);
}

TEST_P(ReportQueryTest, ALatestTimeOutThatIsNoTimeFailsTheWeekdaysEndAlone)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "10:00:00 AM");
    db->execute(
        QString("insert into tblShiftMonday (fldEmpID, fldTimeIn, fldTimeOut) values (%1, '11:00:00', 'soon')").arg(ann));
    ReportReading reading(*db);
    EXPECT_EQ(dayStart(reading, Weekday::Monday), QTime(9, 0));
    EXPECT_EQ(store_testing::failureOf([&] { dayEnd(reading, Weekday::Monday); }),
              "The stored time \"soon\" is not a time of day.");
}

namespace {

using FileReportQueryTest = store_testing::SqliteStoreTest;

}  // namespace

TEST_F(FileReportQueryTest, ShiftsGoWithTheEmployeesTheJoinMatchesWhateverTheIdentifiersAreStoredAs)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    const qint64 bob = insertEmployee(*db, "Bob", "Waiter");
    insertShift(*db, Weekday::Monday, ann, "08:00:00 AM", "09:00:00 AM");
    // Tuesday's employee column keeps every value as given, as in a table made elsewhere.
    db->execute("drop view qryTuesday");
    db->execute("drop table tblShiftTuesday");
    db->execute(
        "create table tblShiftTuesday (fldID integer primary key autoincrement, fldEmpID, fldTimeIn, fldTimeOut)");
    const QString a = QString::number(ann);
    const QStringList employees{a, "'" + a + "'", a + ".0", "null", "'x'", QString::number(bob), "999", a};
    for (int i = 0; i < employees.size(); ++i)
        db->execute(QString("insert into tblShiftTuesday (fldEmpID, fldTimeIn, fldTimeOut) values (%1, '%2:00:00', "
                            "'23:00:00')")
                        .arg(employees[i])
                        .arg(7 + i, 2, 10, QChar('0')));

    ReportReading reading(*db);
    std::vector<QTime> annsTuesday;
    for (const ReportShift& shift : reportEmployeeShifts(reading, Weekday::Tuesday, ann))
        annsTuesday.push_back(shift.timeIn);
    EXPECT_EQ(annsTuesday, (std::vector<QTime>{QTime(7, 0), QTime(8, 0), QTime(9, 0), QTime(14, 0)}));
    EXPECT_EQ(reportEmployeeShifts(reading, Weekday::Tuesday, bob).size(), 1u);
    EXPECT_EQ(reportEmployeeShifts(reading, Weekday::Tuesday, 999).size(), 0u);
    EXPECT_EQ(reportEmployeeShifts(reading, Weekday::Monday, ann).size(), 1u);
}

TEST_F(FileReportQueryTest, AWeekdayReadThatCannotRunFailsInTheWordsOfItsOwnStatement)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "10:00:00 AM");
    // Monday's view has no time out; Tuesday's table has none either, and no employee a position.
    db->execute("drop view qryMonday");
    db->execute("create view qryMonday as select s.fldEmpID as fldEmpID, s.fldTimeIn as fldTimeIn "
                "from tblShiftMonday s inner join tblEmployee e on s.fldEmpID = e.fldID");
    db->execute("alter table tblShiftTuesday rename column fldTimeOut to fldEnd");
    db->execute("alter table tblEmployee rename column fldPosition to fldJob");

    ReportReading reading(*db);
    EXPECT_EQ(dayStart(reading, Weekday::Monday), QTime(9, 0));
    EXPECT_EQ(store_testing::failureOf([&] { dayEnd(reading, Weekday::Monday); }), "no such column: fldTimeOut");
    EXPECT_EQ(store_testing::failureOf([&] { reportEmployeeShifts(reading, Weekday::Tuesday, ann); }),
              "no such column: s.fldtimeout");
}
