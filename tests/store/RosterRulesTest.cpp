// The rules that read and then write, at the store on both stores, without a window: what each
// returns, that a failed stage stores nothing and is reported where the caller's steps put it,
// and that another planner's change since the caller looked is told apart.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/RosterRules.h"
#include "store/Shifts.h"
#include "store/StoreError.h"

using namespace store;

namespace {

// The stages that failed, in order, and the rule going on after each as a window's steps do.
class RecordedSteps final : public RuleSteps {
public:
    bool run(int stage, const std::function<void()>& work) override
    {
        try {
            work();
            return true;
        } catch (const StoreError& e) {
            failed.push_back({stage, e.description()});
            return false;
        }
    }
    bool test(int stage, const std::function<bool()>& condition) override
    {
        try {
            return condition();
        } catch (const StoreError& e) {
            failed.push_back({stage, e.description()});
            return true;
        }
    }
    std::vector<std::pair<int, QString>> failed;
};

class RosterRulesTest : public store_testing::StoreTest {
protected:
    ShiftLookUp shift(qint64 employee, const char* in, const char* out)
    {
        return {[=] { return employee; }, [=] { return QString(in); }, [=] { return QString(out); }};
    }
    RecordedSteps steps;
};

ON_BOTH_STORES(RosterRulesTest);

}  // namespace

TEST_P(RosterRulesTest, AddingAShiftTellsAddedOverlapsAndAnEmployeeAnotherPlannerDeleted)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    EXPECT_EQ(addShift(*db, Weekday::Monday, shift(ann, "09:00:00 AM", "11:00:00 AM"), steps), ShiftAdding::Added);
    // The inclusive test: touching ends collide.
    EXPECT_EQ(addShift(*db, Weekday::Monday, shift(ann, "11:00:00 AM", "12:00:00 PM"), steps), ShiftAdding::Overlaps);
    EXPECT_EQ(addShiftUnlessOverlapping(*db, Weekday::Monday, shift(ann, "10:00:00 AM", "10:30:00 AM"), steps),
              ShiftAdding::Overlaps);
    EXPECT_EQ(addShift(*db, Weekday::Tuesday, shift(ann, "11:00:00 AM", "12:00:00 PM"), steps), ShiftAdding::Added);
    EXPECT_TRUE(steps.failed.empty());

    const auto other = otherConnection("other-planner");
    deleteEmployee(*other, ann);
    EXPECT_EQ(addShift(*db, Weekday::Wednesday, shift(ann, "09:00:00 AM", "10:00:00 AM"), steps),
              ShiftAdding::EmployeeGone);
    EXPECT_TRUE(steps.failed.empty()) << "another planner's change is no failure";
    EXPECT_EQ(rowCount("tblShiftWednesday"), 0);
}

TEST_P(RosterRulesTest, AFailedStageIsReportedWhereItHappenedAndTheRuleStoresNothing)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    // Nobody selected: every stage that needs the employee fails, and the rule goes on to the next.
    const ShiftLookUp nobody{[]() -> qint64 { throw StoreError("No employee is selected."); },
                             [] { return QStringLiteral("09:00:00 AM"); }, [] { return QStringLiteral("10:00:00 AM"); }};
    EXPECT_EQ(addShift(*db, Weekday::Monday, nobody, steps), ShiftAdding::NotStored);
    std::vector<int> stages;
    for (const auto& [stage, text] : steps.failed)
        stages.push_back(stage);
    EXPECT_EQ(stages, (std::vector<int>{add_shift::kReadShifts, add_shift::kDecide, add_shift::kInsert}));

    // A cascade with one weekday that cannot be deleted leaves the employee and every shift.
    for (const Weekday day : allWeekdays)
        insertShift(*db, day, ann, "09:00:00 AM", "10:00:00 AM");
    refuseDeletesFrom("tblShiftThursday");
    steps.failed.clear();
    EXPECT_EQ(removeEmployee(*db, [=] { return ann; }, steps), EmployeeRemoval::NotStored);
    ASSERT_EQ(steps.failed.size(), 1u);
    EXPECT_EQ(steps.failed[0].first, remove_employee::kShiftsOf(Weekday::Thursday));
    EXPECT_EQ(rowCount("tblEmployee"), 1);
    for (const Weekday day : allWeekdays)
        EXPECT_EQ(rowCount(shiftTableName(day)), 1) << shiftTableName(day).toStdString();
}

TEST_P(RosterRulesTest, AnEmployeeIsAddedOnceAndRemovedWithEveryShift)
{
    EXPECT_EQ(addEmployeeUnlessPresent(*db, "Ann", "Cook", steps), EmployeeAdding::Added);
    EXPECT_EQ(addEmployeeUnlessPresent(*db, "ann", "COOK", steps), EmployeeAdding::AlreadyThere);
    EXPECT_EQ(addEmployeeUnlessPresent(*db, "Ann", "Waiter", steps), EmployeeAdding::Added);
    EXPECT_EQ(rowCount("tblEmployee"), 2);

    const qint64 ann = findEmployee(*db, "Ann", "Cook").value();
    const qint64 kept = findEmployee(*db, "Ann", "Waiter").value();
    for (const Weekday day : allWeekdays) {
        insertShift(*db, day, ann, "09:00:00 AM", "10:00:00 AM");
        insertShift(*db, day, kept, "09:00:00 AM", "10:00:00 AM");
    }
    EXPECT_EQ(removeEmployee(*db, [=] { return ann; }, steps), EmployeeRemoval::Removed);
    EXPECT_TRUE(steps.failed.empty());
    EXPECT_EQ(rowCount("tblEmployee"), 1);
    for (const Weekday day : allWeekdays)
        EXPECT_EQ(rowCount(shiftTableName(day)), 1);
}

TEST_P(RosterRulesTest, ADayIsCopiedWithItsOverlapsSkippedAndClearedInOneChange)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    const qint64 bob = insertEmployee(*db, "Bob", "Waiter");
    insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "11:00:00 AM");
    insertShift(*db, Weekday::Monday, ann, "02:00:00 PM", "04:00:00 PM");
    insertShift(*db, Weekday::Monday, bob, "06:00:00 PM", "10:00:00 PM");
    insertShift(*db, Weekday::Wednesday, ann, "11:00:00 AM", "12:00:00 PM");  // touches the first: overlaps

    const DayCopy copy = copyDay(*db, Weekday::Monday, {Weekday::Tuesday, Weekday::Monday, Weekday::Wednesday});
    EXPECT_EQ(copy.copied, (std::vector<std::pair<Weekday, int>>{{Weekday::Tuesday, 3}, {Weekday::Wednesday, 2}}));
    ASSERT_EQ(copy.skipped.size(), 1u);
    EXPECT_EQ(copy.skipped[0].employee, "Ann");
    EXPECT_EQ(copy.skipped[0].timeIn, QTime(9, 0));
    EXPECT_EQ(copy.skipped[0].day, Weekday::Wednesday);
    EXPECT_EQ(rowCount("tblShiftMonday"), 3);
    EXPECT_EQ(rowCount("tblShiftTuesday"), 3);
    EXPECT_EQ(rowCount("tblShiftWednesday"), 3);
    // Copying again adds nothing: every copy overlaps its own.
    EXPECT_EQ(copyDay(*db, Weekday::Monday, {Weekday::Tuesday}).skipped.size(), 3u);
    EXPECT_EQ(rowCount("tblShiftTuesday"), 3);

    // A copy that fails part way stores nothing of it.
    db->execute("drop view qrySunday");
    db->execute("drop table tblShiftSunday");
    EXPECT_THROW(copyDay(*db, Weekday::Monday, {Weekday::Thursday, Weekday::Sunday}), StoreError);
    EXPECT_EQ(rowCount("tblShiftThursday"), 0);

    EXPECT_EQ(clearDay(*db, Weekday::Tuesday), 3);
    EXPECT_EQ(rowCount("tblShiftTuesday"), 0);
    EXPECT_EQ(rowCount("tblShiftMonday"), 3);
    EXPECT_EQ(clearDay(*db, Weekday::Tuesday), 0);
}

TEST_P(RosterRulesTest, AnEditIsRefusedOnlyByAnotherShiftAndTellsARowAnotherPlannerDeleted)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    const qint64 first = insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "11:00:00 AM");
    insertShift(*db, Weekday::Monday, ann, "02:00:00 PM", "04:00:00 PM");
    // Overlapping its own old times is no overlap.
    EXPECT_EQ(editShift(*db, Weekday::Monday, first, "10:00:00 AM", "12:00:00 PM"), ShiftEditing::Changed);
    EXPECT_EQ(editShift(*db, Weekday::Monday, first, "10:00:00 AM", "02:00:00 PM"), ShiftEditing::Overlaps);
    EXPECT_EQ(db->query("select fldtimeout from tblShiftMonday where fldid=" + QString::number(first))
                  .front().value(0).toString(), "12:00:00");
    EXPECT_EQ(editEmployee(*db, ann, "Ann Lee", "Head Cook"), EmployeeEditing::Changed);
    EXPECT_TRUE(findEmployee(*db, "Ann Lee", "Head Cook").has_value());

    const auto other = otherConnection("other-planner");
    deleteShift(*other, Weekday::Monday, first);
    deleteEmployee(*other, ann);
    EXPECT_EQ(editShift(*db, Weekday::Monday, first, "06:00:00 AM", "07:00:00 AM"), ShiftEditing::ShiftGone);
    EXPECT_FALSE(removeShift(*db, Weekday::Monday, first));
    EXPECT_EQ(editEmployee(*db, ann, "Ann", "Cook"), EmployeeEditing::EmployeeGone);
    EXPECT_EQ(rowCount("tblEmployee"), 0);
}

TEST_P(RosterRulesTest, EveryKindOfChangeIsTakenBackAndNoneAfterAnotherPlannerChangedItsRows)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    const qint64 monday = insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "11:00:00 AM");
    insertShift(*db, Weekday::Friday, ann, "01:00:00 PM", "03:00:00 PM");
    const auto roster = [&] {
        QStringList rows;
        for (const char* table : {"tblEmployee", "tblShiftMonday", "tblShiftTuesday", "tblShiftFriday"})
            for (const Row& row : db->query(QString("select * from %1 order by fldid").arg(table))) {
                QStringList values{table};
                for (int i = 0; i < row.size(); ++i)
                    values << row.value(i).toString();
                rows << values.join(' ');
            }
        return rows;
    };
    const QStringList start = roster();
    FailFastSteps noSteps;
    const std::vector<std::function<void(ChangeRecord&)>> changes{
        [&](ChangeRecord& r) { addEmployee(*db, "Bob", "Waiter", &r); },
        [&](ChangeRecord& r) { editEmployee(*db, ann, "Ann Lee", "Chef", &r); },
        [&](ChangeRecord& r) { removeEmployee(*db, [=] { return ann; }, noSteps, &r); },
        [&](ChangeRecord& r) {
            addShift(*db, Weekday::Tuesday, shift(ann, "09:00:00 AM", "10:00:00 AM"), noSteps, &r);
        },
        [&](ChangeRecord& r) { editShift(*db, Weekday::Monday, monday, "07:00:00 AM", "08:00:00 AM", &r); },
        [&](ChangeRecord& r) { removeShift(*db, Weekday::Monday, monday, &r); },
        [&](ChangeRecord& r) { copyDay(*db, Weekday::Monday, {Weekday::Tuesday, Weekday::Friday}, &r); },
        [&](ChangeRecord& r) { clearDay(*db, Weekday::Friday, &r); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        SCOPED_TRACE(i);
        ChangeRecord record;
        changes[i](record);
        ASSERT_FALSE(record.empty());
        EXPECT_NE(roster(), start);
        EXPECT_TRUE(record.takeBack(*db).isEmpty());
        EXPECT_EQ(roster(), start) << "the employee comes back with its identifier and every shift";
    }

    // Another planner changed a row since: nothing is taken back, and that row is named.
    ChangeRecord record;
    editShift(*db, Weekday::Monday, monday, "07:00:00 AM", "08:00:00 AM", &record);
    removeEmployee(*db, [=] { return ann; }, noSteps, &record);
    const auto other = otherConnection("other-planner");
    insertEmployee(*other, "Cleo", "Host");
    other->execute("insert into tblShiftMonday (fldid, fldempid, fldtimein, fldtimeout) values (" +
                   QString::number(monday) + ", 99, '05:00:00', '06:00:00')");
    const QStringList changedSince = record.takeBack(*db);
    ASSERT_EQ(changedSince.size(), 1) << changedSince.join("; ").toStdString();
    EXPECT_EQ(changedSince[0], "a shift of Monday from 9:00:00 AM to 11:00:00 AM");
    EXPECT_EQ(rowCount("tblEmployee"), 1) << "Ann stays deleted, Cleo stays";
}
