#include "tests/store/StoreFixture.h"

#include "store/RosterRules.h"

#include "store/Employees.h"
#include "store/SampleData.h"
#include "store/ServerSetup.h"
#include "store/Shifts.h"
#include "store/StoreError.h"
#include "store/WriteTransaction.h"

#include <QFile>

#include <limits>

namespace store_testing {

QString templatePath()
{
    return QStringLiteral(ROSTELLE_TEMPLATE_DATABASE);
}

std::string backendName(const ::testing::TestParamInfo<Backend>& info)
{
    return info.param == Backend::SQLite ? "SQLite" : "PostgreSQL";
}

QString failureOf(const std::function<void()>& step)
{
    try {
        step();
    } catch (const store::StoreError& e) {
        return e.description();
    }
    return QString();
}

void StoreTest::SetUp()
{
    if (backend() == Backend::SQLite) {
        databasePath = environment.dataHome() + "/dbData.sqlite";
        ASSERT_TRUE(QFile::copy(templatePath(), databasePath)) << "template missing: " << templatePath().toStdString();
        QFile::setPermissions(databasePath, QFile::ReadOwner | QFile::WriteOwner);
        location = store::Location::file(databasePath);
    } else {
        QString whyNot;
        ASSERT_TRUE(serverSchema.make(&whyNot)) << "no PostgreSQL test server: " << whyNot.toStdString();
        server = serverSchema.server();
        location = store::Location::server(serverSchema.uri());
        store::setUpServerDatabase(location);
    }
    db = std::make_unique<store::Connection>(QStringLiteral("store-test"));
    db->open(location);
}

void StoreTest::TearDown()
{
    db.reset();
}

int StoreTest::rowCount(const QString& table)
{
    return db->query("select count(*) from " + table).front().value(0).toInt();
}

std::unique_ptr<store::Connection> StoreTest::otherConnection(const QString& name)
{
    auto other = std::make_unique<store::Connection>(name);
    other->open(location);
    return other;
}

void StoreTest::useUpIdentifiers(const QString& table)
{
    const QString largest = QString::number(std::numeric_limits<qint64>::max());
    if (backend() == Backend::SQLite)
        db->execute("update sqlite_sequence set seq=" + largest + " where name='" + table + "'");
    else
        db->query("select setval(pg_get_serial_sequence('" + table.toLower() + "','fldid'), " + largest + ")");
}

void StoreTest::shortenLockWaits(store::Connection& connection)
{
    if (backend() == Backend::SQLite)
        connection.execute("pragma busy_timeout=50");
    else
        connection.execute("set lock_timeout='50ms'");
}

void StoreTest::refuseDeletesFrom(const QString& table)
{
    if (backend() == Backend::SQLite) {
        db->execute("create trigger refuse_delete before delete on " + table +
                    " begin select raise(abort, 'deleting is refused'); end");
    } else {
        db->execute("create function refuse_delete() returns trigger language plpgsql as "
                    "$$ begin raise exception 'deleting is refused'; end $$");
        db->execute("create trigger refuse_delete before delete on " + table +
                    " for each row execute function refuse_delete()");
    }
}

std::vector<std::pair<int, store::Weekday>> storeSample(store::Connection& db, int step)
{
    using namespace store;
    std::vector<std::pair<int, Weekday>> added;
    const auto& employees = sampleEmployees();
    FailFastSteps steps;
    for (const SampleShift& shift : sampleShifts(step)) {
        const SampleEmployee& who = employees[static_cast<std::size_t>(shift.employee)];
        addEmployeeUnlessPresent(db, who.name, who.position, steps);
        const qint64 id = findEmployee(db, who.name, who.position).value();
        const ShiftLookUp lookUp{[&] { return id; }, [&] { return shift.timeIn; }, [&] { return shift.timeOut; }};
        if (addShiftUnlessOverlapping(db, shift.weekday, lookUp, steps) == ShiftAdding::Added)
            added.emplace_back(shift.employee, shift.weekday);
    }
    return added;
}

}  // namespace store_testing
