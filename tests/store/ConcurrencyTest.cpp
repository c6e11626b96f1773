// Two planners at once, each on a connection of its own in a thread of its own, round after round
// so that an interleaving that breaks a rule has its chance: the overlap check and insert, the
// delete cascade, and the sample load, on both stores.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/Shifts.h"
#include "store/StoreError.h"
#include "store/WriteTransaction.h"

#include <algorithm>
#include <atomic>
#include <barrier>
#include <chrono>
#include <functional>
#include <mutex>
#include <ranges>
#include <thread>

using namespace store;

namespace {

class ConcurrencyTest : public store_testing::StoreTest {};
ON_BOTH_STORES(ConcurrencyTest);

// Runs both planners' work for each round, the two starting each round together. A planner's
// failure is recorded, not thrown across the thread.
class TwoPlanners {
public:
    using Work = std::function<void(Connection&, int round)>;

    TwoPlanners(const Location& location, int rounds) : location_(location), rounds_(rounds), sync_(2) {}

    void run(const Work& first, const Work& second)
    {
        std::thread a([&] { plan(0, first); });
        std::thread b([&] { plan(1, second); });
        a.join();
        b.join();
    }
    const QStringList& failures() const { return failures_; }

private:
    void plan(int planner, const Work& work)
    {
        Connection connection(QStringLiteral("planner-%1").arg(planner));
        try {
            connection.open(location_);
        } catch (const StoreError& e) {
            record(e.description());
        }
        for (int round = 0; round < rounds_; ++round) {
            sync_.arrive_and_wait();
            try {
                work(connection, round);
            } catch (const StoreError& e) {
                record(QStringLiteral("round %1: %2").arg(round).arg(e.description()));
            }
        }
    }
    void record(const QString& failure)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        failures_.append(failure);
    }

    Location location_;
    int rounds_;
    std::barrier<> sync_;
    std::mutex mutex_;
    QStringList failures_;
};

// Adds the shift unless it collides, as Add Schedule does; true when stored.
bool addShift(Connection& db, qint64 employee, const QString& in, const QString& out)
{
    WriteTransaction adding(db, WriteRule::AddShift, employee);
    const bool free = !shiftOverlaps(db, Weekday::Monday, employee, in, out);
    if (free)
        insertShift(db, Weekday::Monday, employee, in, out);
    adding.commit();
    return free;
}

}  // namespace

TEST_P(ConcurrencyTest, OfTwoOverlappingShiftsAddedAtOnceExactlyOneIsStored)
{
    constexpr int rounds = 40;
    std::vector<qint64> employees;
    for (int i = 0; i < rounds; ++i)
        employees.push_back(insertEmployee(*db, QString("E%1").arg(i), "Cook"));

    std::atomic<int> stored{0};
    TwoPlanners planners(location, rounds);
    planners.run([&](Connection& c, int r) { stored += addShift(c, employees[r], "09:00:00 AM", "05:00:00 PM"); },
                 [&](Connection& c, int r) { stored += addShift(c, employees[r], "10:00:00 AM", "06:00:00 PM"); });

    EXPECT_EQ(planners.failures(), QStringList());
    EXPECT_EQ(stored, rounds);
    for (int i = 0; i < rounds; ++i)
        EXPECT_EQ(db->query("select count(*) from tblShiftMonday where fldEmpID=" + QString::number(employees[i]))
                      .front()
                      .value(0)
                      .toInt(),
                  1)
            << "employee E" << i;
}

TEST_P(ConcurrencyTest, ADeletedEmployeeGoesWithAllItsShiftsAtOnceForEveryOtherPlanner)
{
    constexpr int rounds = 25;
    std::vector<qint64> employees;
    for (int i = 0; i < rounds; ++i) {
        employees.push_back(insertEmployee(*db, QString("E%1").arg(i), "Cook"));
        for (Weekday day : allWeekdays)
            insertShift(*db, day, employees.back(), "09:00:00 AM", "10:00:00 AM");
    }

    std::atomic<bool> deleting{false};
    QStringList halfDone;
    TwoPlanners planners(location, rounds);
    planners.run(
        [&](Connection& c, int r) {
            deleting = true;
            // Statements that come a little apart, as over a slow disk or network, give the other
            // planner time to look between them.
            const auto slowly = [] { std::this_thread::sleep_for(std::chrono::milliseconds(2)); };
            WriteTransaction removal(c, WriteRule::DeleteEmployee, employees[r]);
            deleteEmployee(c, employees[r]);
            for (Weekday day : allWeekdays) {
                slowly();
                deleteEmployeeShifts(c, day, employees[r]);
            }
            removal.commit();
            deleting = false;
        },
        [&](Connection& c, int r) {
            const QString id = QString::number(employees[r]);
            // Looks while the other planner deletes (and once after): each look, in one read
            // transaction, sees the employee with all seven shifts or with none.
            bool lookedAfter = false;
            while (!lookedAfter) {
                lookedAfter = !deleting;
                c.beginReading();
                const int people = c.query("select count(*) from tblEmployee where fldID=" + id).front().value(0).toInt();
                int shifts = 0;
                for (Weekday day : allWeekdays)
                    shifts += c.query("select count(*) from " + shiftTableName(day) + " where fldEmpID=" + id)
                                  .front()
                                  .value(0)
                                  .toInt();
                c.commit();
                if (!(people == 1 && shifts == 7) && !(people == 0 && shifts == 0))
                    halfDone.append(QString("round %1: %2 employee, %3 shifts").arg(r).arg(people).arg(shifts));
            }
        });

    EXPECT_EQ(planners.failures(), QStringList());
    EXPECT_EQ(halfDone, QStringList());
    EXPECT_EQ(rowCount("tblEmployee"), 0);
}

TEST_P(ConcurrencyTest, AShiftAddedWhileItsEmployeeIsDeletedIsEitherDeletedWithThemOrNotStored)
{
    constexpr int rounds = 25;
    std::vector<qint64> employees;
    for (int i = 0; i < rounds; ++i)
        employees.push_back(insertEmployee(*db, QString("E%1").arg(i), "Cook"));

    const auto refusal = [&](int r) {
        return QString("round %1: Nothing was stored: employee %2 is no longer on the roster; another planner may "
                       "have deleted them.")
            .arg(r)
            .arg(employees[r]);
    };
    TwoPlanners planners(location, rounds);
    planners.run(
        [&](Connection& c, int r) {
            WriteTransaction removal(c, WriteRule::DeleteEmployee, employees[r]);
            deleteEmployee(c, employees[r]);
            for (Weekday day : allWeekdays)
                deleteEmployeeShifts(c, day, employees[r]);
            removal.commit();
        },
        [&](Connection& c, int r) { addShift(c, employees[r], "09:00:00 AM", "10:00:00 AM"); });

    // The adding planner came either first (its shift went with the employee) or second (refused).
    for (const QString& failure : planners.failures())
        EXPECT_TRUE(std::ranges::any_of(std::views::iota(0, rounds), [&](int r) { return failure == refusal(r); }))
            << failure.toStdString();
    EXPECT_EQ(rowCount("tblEmployee"), 0);
    EXPECT_EQ(rowCount("tblShiftMonday"), 0);

    // Afterwards, the refusal every time, and nothing stored.
    try {
        addShift(*db, employees[0], "09:00:00 AM", "10:00:00 AM");
        ADD_FAILURE() << "a shift was stored for a deleted employee";
    } catch (const StoreError& e) {
        EXPECT_EQ("round 0: " + e.description(), refusal(0));
    }
    EXPECT_EQ(rowCount("tblShiftMonday"), 0);
}

TEST_P(ConcurrencyTest, TwoSampleLoadsAtOnceStoreEachSampleRowOnce)
{
    constexpr int rounds = 12;
    QStringList wrong;
    const auto load = [&](Connection& c, int) { store_testing::storeSample(c, 60); };
    for (int round = 0; round < rounds; ++round) {
        TwoPlanners once(location, 1);
        once.run(load, load);
        for (const QString& failure : once.failures())
            wrong.append(failure);
        const int employees = rowCount("tblEmployee");
        int shifts = 0;
        for (Weekday day : allWeekdays)
            shifts += rowCount(shiftTableName(day));
        if (employees != 3 || shifts != 18)
            wrong.append(QString("round %1: %2 employees, %3 shifts").arg(round).arg(employees).arg(shifts));
        db->execute("delete from tblEmployee");
        for (Weekday day : allWeekdays)
            db->execute("delete from " + shiftTableName(day));
    }
    EXPECT_EQ(wrong, QStringList());
}
