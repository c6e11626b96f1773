// The built program's commands against the store: the export only reads, so it works on a roster
// the user may not change; a shared roster on the tests' PostgreSQL server is set up with
// --init-database, chosen with --database or the setting "Database", and two copies of the
// program loading the sample into one roster at once store each row once, on either store.
#include "tests/app/ProgramRun.h"
#include "tests/support/PostgresServer.h"
#include "tests/support/TestEnvironment.h"

#include "sheet/Application.h"
#include "sheet/Range.h"
#include "sheet/Workbook.h"
#include "sheet/Worksheet.h"
#include "store/Connection.h"
#include "store/Employees.h"
#include "store/Shifts.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using app_testing::ProgramRun;
using app_testing::runProgram;
using testing_support::TestEnvironment;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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

// A working database with one employee and a Monday shift, in the test's data folder.
class ReadOnlyRosterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!app_testing::canDropOverrideRights())
            GTEST_SKIP() << "cannot drop the rights that ignore file permissions";
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ROSTELLE_PROGRAM_DIR) + "/dbBlank.sqlite", database));
        QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
        store::Connection connection(QStringLiteral("read-only-roster"));
        connection.open(database);
        const qint64 ann = store::insertEmployee(connection, "Ann", "Cook");
        store::insertShift(connection, store::Weekday::Monday, ann, "08:00:00 AM", "10:00:00 AM");
    }
    void TearDown() override { restorePermissions(); }
    void restorePermissions()
    {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    }
    void makeReadOnly(bool fileToo, bool folderToo)
    {
        if (fileToo)
            QFile::setPermissions(database, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        if (folderToo)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                              QFile::ReadOther | QFile::ExeOther);
    }
    ProgramRun runBound(const QStringList& arguments)
    {
        return app_testing::finish(*app_testing::startProgram(env, {arguments, {}, true}));
    }

    TestEnvironment env;
    QString folder = env.dataHome() + "/Tarrowby/Rostelle Software";
    QString database = folder + "/dbData.sqlite";
    QString workbook = env.tempDir() + "/week.xls";
};

}  // namespace

TEST_F(ReadOnlyRosterTest, ExportReadsAReadOnlyFileOrFolderAndLeavesItAsFound)
{
    const struct {
        const char* what;
        bool file;
        bool folder;
    } cases[] = {{"file 0444", true, false}, {"folder 0555", false, true}, {"both", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        makeReadOnly(c.file, c.folder);
        const QByteArray before = fileBytes(database);
        QFile::remove(workbook);

        const ProgramRun run = runBound({"--export", workbook, "--interval", "hourly"});
        EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
        EXPECT_TRUE(run.err.isEmpty()) << qPrintable(run.err);
        ASSERT_TRUE(QFile::exists(workbook));
        EXPECT_TRUE(cellsOf(workbook).contains("R6C3: Cook #34"));
        EXPECT_EQ(fileBytes(database), before);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"dbData.sqlite"});
        restorePermissions();
    }
}

TEST_F(ReadOnlyRosterTest, SampleLoadStillNeedsToWriteAndSaysSo)
{
    makeReadOnly(true, false);
    const QByteArray before = fileBytes(database);
    const ProgramRun run = runBound({"--load-sample"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("cannot be written: permission denied")) << qPrintable(run.err);
    EXPECT_EQ(fileBytes(database), before);
}

// ---- a shared roster --------------------------------------------------------------------------

namespace {

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
    void remember(const QString& setting)
    {
        QDir().mkpath(env.configHome() + "/Tarrowby");
        QFile conf(env.configHome() + "/Tarrowby/Tarrowby.conf");
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write("[Rostelle%20Software]\n" + setting.toUtf8() + "\n");
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
    EXPECT_FALSE(QFile::exists(env.dataHome() + "/Tarrowby/Rostelle Software/dbData.sqlite"))
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
    remember("Database=" + uri);
    const ProgramRun load = runProgram(env, {"--load-sample"});
    ASSERT_EQ(load.exitCode, 0) << qPrintable(load.err);
    EXPECT_EQ(roster(store::Location::server(uri)), kSampleRoster);
    EXPECT_FALSE(QFile::exists(env.dataHome() + "/Tarrowby/Rostelle Software/dbData.sqlite"));

    remember("Database=" + uri + "&password=secret");
    const ProgramRun refused = runProgram(env, {"--export", env.tempDir() + "/week.xls"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("holds a password")) << qPrintable(refused.err);
    EXPECT_FALSE(QFile::exists(env.tempDir() + "/week.xls"));
}

TEST_F(SharedRosterTest, TwoCopiesLoadingTheSampleAtOnceStoreEachRowOnceOnEitherStore)
{
    ASSERT_EQ(runProgram(env, {"--init-database", uri}).exitCode, 0);
    const QString file = env.dataHome() + "/Tarrowby/Rostelle Software/dbData.sqlite";
    for (const bool shared : {false, true}) {
        const QStringList store = shared ? QStringList{"--database", uri} : QStringList{};
        const store::Location location = shared ? store::Location::server(uri) : store::Location::file(file);
        for (int round = 0; round < 4; ++round) {
            SCOPED_TRACE(testing::Message() << (shared ? "server" : "file") << ", round " << round);
            const QStringList load = store + QStringList{"--load-sample", "--interval", "hourly"};
            const auto first = app_testing::startProgram(env, {load, {}, false});
            const auto second = app_testing::startProgram(env, {load, {}, false});
            const ProgramRun a = app_testing::finish(*first);
            const ProgramRun b = app_testing::finish(*second);
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
