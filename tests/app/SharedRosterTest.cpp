// A shared roster on the tests' PostgreSQL server, through the built program: set up with
// --init-database, chosen with --database or the setting "Database", exported as the working
// file's roster is, and two copies of the program loading the sample into one roster at once
// store each row once, and one killed while it loads leaves all of the sample or none, on either
// store.
#include "tests/support/PostgresServer.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnvironment.h"

#include "sheet/Application.h"
#include "sheet/Range.h"
#include "sheet/Workbook.h"
#include "sheet/Worksheet.h"
#include "store/Connection.h"
#include "store/Employees.h"
#include "store/Shifts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>

#include <signal.h>

using testing_support::ProgramRun;
using testing_support::runProgram;
using testing_support::TestEnvironment;

namespace {

// Every cell of the workbook's sheet that shows something or is filled, as "A1: text #fill".
QStringList cellsOf(const QString& workbook)
{
    sheet::Application reader;
    const sheet::Worksheet sheet = reader.Workbooks().Open(workbook.toStdString()).ActiveSheet();
    const sheet::Range used = sheet.UsedRange();
    QStringList cells;
    for (int row = 1; row <= used.Row() + used.Rows().count() - 1; ++row)
        for (int column = 1; column <= used.Column() + used.Columns().count() - 1; ++column) {
            const sheet::Range cell = sheet.Cells(row, column);
            const std::string text = cell.Text();
            const int fill = cell.Interior().ColorIndex();
            if (!text.empty() || fill > 0)
                cells.append(QStringLiteral("R%1C%2: %3 #%4")
                                 .arg(row)
                                 .arg(column)
                                 .arg(QString::fromStdString(text))
                                 .arg(fill));
        }
    return cells;
}

// A place of the test's own on the tests' PostgreSQL server, not set up.
class SharedRosterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString whyNot;
        ASSERT_TRUE(schema.make(&whyNot)) << whyNot.toStdString();
        server = schema.server();
        uri = schema.uri();
    }
    // Employees and shifts stored: "name: n shifts".
    QStringList roster(const store::Location& location)
    {
        store::Connection connection(QStringLiteral("shared-roster-look"));
        connection.open(location);
        QStringList found;
        for (const store::EmployeeEntry& employee : store::listEmployees(connection)) {
            int shifts = 0;
            for (const store::Weekday day : store::allWeekdays)
                for (const store::ShiftListEntry& shift : store::listShifts(connection, day))
                    shifts += shift.employeeName == employee.name;
            found.append(QStringLiteral("%1: %2 shifts").arg(employee.name).arg(shifts));
        }
        return found;
    }

    TestEnvironment env;
    testing_support::ServerSchema schema;
    testing_support::PostgresServer* server = nullptr;
    QString uri;
};

const QStringList kSampleRoster{"Ansel Brackwater: 7 shifts", "Dace Ormundy: 5 shifts", "R. T. Fallowmere: 6 shifts"};

}  // namespace

TEST_F(SharedRosterTest, InitDatabaseSetsTheRosterUpOnceAndRefusesWhatItCannotUse)
{
    const ProgramRun first = runProgram(env, {"--init-database", uri});
    EXPECT_EQ(first.exitCode, 0) << qPrintable(first.err);
    EXPECT_TRUE(first.out.contains("were made")) << qPrintable(first.out);
    EXPECT_TRUE(first.err.isEmpty()) << qPrintable(first.err);

    const ProgramRun second = runProgram(env, {"--init-database", uri});
    EXPECT_EQ(second.exitCode, 0) << qPrintable(second.err);
    EXPECT_TRUE(second.out.contains("nothing was changed")) << qPrintable(second.out);
    EXPECT_TRUE(roster(store::Location::server(uri)).isEmpty());

    const QString other = server->uri(server->createSchema());
    ASSERT_EQ(runProgram(env, {"--database", other, "--load-sample"}).exitCode, 1) << "not set up yet";
    {
        store::Connection connection(QStringLiteral("other-tables"));
        connection.openForSetup(store::Location::server(other));
        connection.execute("create table tblEmployee (id int)");
    }
    const ProgramRun refused = runProgram(env, {"--init-database", other});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("nothing was changed")) << qPrintable(refused.err);

    for (const QStringList& misuse : {QStringList{"--init-database", "roster.sqlite"},
                                      QStringList{"--init-database", uri, "--database", uri},
                                      QStringList{"--database", "mysql://db/roster", "--export", "week.xls"}}) {
        const ProgramRun run = runProgram(env, misuse);
        EXPECT_EQ(run.exitCode, 2) << misuse.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << qPrintable(run.err);
    }
    EXPECT_FALSE(QFile::exists(testing_support::workingDatabase(env)))
        << "a shared roster needs no working file";
}

TEST_F(SharedRosterTest, TheSharedRosterExportsTheSameWorkbookAsTheWorkingFile)
{
    ASSERT_EQ(runProgram(env, {"--init-database", uri}).exitCode, 0);
    for (const QStringList& store : {QStringList{}, QStringList{"--database", uri}}) {
        const ProgramRun load = runProgram(env, store + QStringList{"--load-sample", "--interval", "hourly"});
        ASSERT_EQ(load.exitCode, 0) << qPrintable(load.err);
    }
    EXPECT_EQ(roster(store::Location::server(uri)), kSampleRoster);

    const QStringList header{"--week", "Week 10", "--department", "Kitchen", "--interval", "half-hour"};
    const QString fromFile = env.tempDir() + "/file.xls";
    const QString fromServer = env.tempDir() + "/server.xls";
    const ProgramRun file = runProgram(env, QStringList{"--export", fromFile} + header);
    const ProgramRun shared = runProgram(env, QStringList{"--database", uri, "--export", fromServer} + header);
    ASSERT_EQ(file.exitCode, 0) << qPrintable(file.err);
    ASSERT_EQ(shared.exitCode, 0) << qPrintable(shared.err);
    const QStringList cells = cellsOf(fromFile);
    EXPECT_GT(cells.size(), 100);
    EXPECT_EQ(cellsOf(fromServer), cells);
}

TEST_F(SharedRosterTest, TheSettingNamesTheSharedRosterButNeverCarriesItsPassword)
{
    ASSERT_EQ(runProgram(env, {"--init-database", uri}).exitCode, 0);
    testing_support::writeSettings(env, "Database=" + uri);
    const ProgramRun load = runProgram(env, {"--load-sample"});
    ASSERT_EQ(load.exitCode, 0) << qPrintable(load.err);
    EXPECT_EQ(roster(store::Location::server(uri)), kSampleRoster);
    EXPECT_FALSE(QFile::exists(testing_support::workingDatabase(env)));

    testing_support::writeSettings(env, "Database=" + uri + "&password=secret");
    const ProgramRun refused = runProgram(env, {"--export", env.tempDir() + "/week.xls"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("holds a password")) << qPrintable(refused.err);
    EXPECT_FALSE(QFile::exists(env.tempDir() + "/week.xls"));
}

TEST_F(SharedRosterTest, TwoCopiesLoadingTheSampleAtOnceStoreEachRowOnceOnEitherStore)
{
    ASSERT_EQ(runProgram(env, {"--init-database", uri}).exitCode, 0);
    const QString file = testing_support::workingDatabase(env);
    for (const bool shared : {false, true}) {
        const QStringList store = shared ? QStringList{"--database", uri} : QStringList{};
        const store::Location location = shared ? store::Location::server(uri) : store::Location::file(file);
        for (int round = 0; round < 4; ++round) {
            SCOPED_TRACE(testing::Message() << (shared ? "server" : "file") << ", round " << round);
            const QStringList load = store + QStringList{"--load-sample", "--interval", "hourly"};
            const auto first = testing_support::startProgram(env, {load, {}, false});
            const auto second = testing_support::startProgram(env, {load, {}, false});
            const ProgramRun a = testing_support::finish(*first);
            const ProgramRun b = testing_support::finish(*second);
            EXPECT_EQ(a.exitCode, 0) << qPrintable(a.err);
            EXPECT_EQ(b.exitCode, 0) << qPrintable(b.err);
            EXPECT_EQ(roster(location), kSampleRoster);
            store::Connection connection(QStringLiteral("shared-roster-clear"));
            connection.open(location);
            connection.execute("delete from tblEmployee");
            for (const store::Weekday day : store::allWeekdays)
                connection.execute("delete from " + store::shiftTableName(day));
        }
    }
}

TEST_F(SharedRosterTest, ASampleLoadKilledAtAnyMomentLeavesTheWholeSampleOrNothingOnEitherStore)
{
    ASSERT_EQ(runProgram(env, {"--init-database", uri}).exitCode, 0);
    const QString file = testing_support::workingDatabase(env);
    for (const bool shared : {false, true}) {
        const QStringList load = (shared ? QStringList{"--database", uri} : QStringList{}) +
                                 QStringList{"--load-sample", "--interval", "15-minutes"};
        const store::Location location = shared ? store::Location::server(uri) : store::Location::file(file);
        const auto clear = [&] {
            store::Connection connection(QStringLiteral("shared-roster-clear"));
            connection.open(location);
            connection.execute("delete from tblEmployee");
            for (const store::Weekday day : store::allWeekdays)
                connection.execute("delete from " + store::shiftTableName(day));
        };
        // The quickest of three whole loads, so that a busy machine does not stretch every round.
        qint64 duration = std::numeric_limits<qint64>::max();
        for (int run = 0; run < 3; ++run) {
            QElapsedTimer timer;
            timer.start();
            ASSERT_EQ(runProgram(env, load).exitCode, 0);
            duration = std::min(duration, std::max<qint64>(timer.elapsed(), 20));
            clear();
        }
        int whole = 0;
        int none = 0;
        for (int round = 0; round < (shared ? 15 : 30); ++round) {
            // Past the program's start-up, over the whole of its writing.
            const auto delay = static_cast<unsigned long>(duration * (20 + QRandomGenerator::global()->bounded(110)) / 100);
            SCOPED_TRACE(testing::Message() << (shared ? "server" : "file") << ", killed after " << delay << " ms of "
                                            << duration);
            const auto killed = testing_support::startProgram(env, {load, {}, false});
            QThread::msleep(delay);
            ::kill(static_cast<pid_t>(killed->processId()), SIGKILL);
            killed->waitForFinished(30000);
            const QStringList stored = roster(location);
            EXPECT_TRUE(stored.isEmpty() || stored == kSampleRoster) << stored.join(", ").toStdString();
            (stored.isEmpty() ? none : whole) += 1;
            clear();
        }
        std::printf("%s: %d whole, %d nothing\n", shared ? "server" : "file", whole, none);
    }
}
